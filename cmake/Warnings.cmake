# SPDX-License-Identifier: GPL-3.0-or-later
# One INTERFACE target that carries the warning flags of our own code. Outside
# headers (Qt, zlib, GoogleTest) come in as system includes and stay quiet.
add_library(tarnwell_warnings INTERFACE)

target_compile_options(tarnwell_warnings INTERFACE
    -Wall                    # the common set
    -Wextra                  # and the rest of the useful ones
    -Wpedantic               # no compiler extensions
    -Wshadow                 # a local that hides another name
    -Wconversion             # narrowing arithmetic conversions
    -Wsign-conversion        # signed/unsigned mix-ups
    -Wold-style-cast         # casts say what they do
    -Wnon-virtual-dtor       # interfaces are deleted through their base
    -Woverloaded-virtual     # an overload that hides a virtual
    -Wnull-dereference       # paths the optimiser proves null
    -Wdouble-promotion       # float silently widened to double
    -Wformat=2               # printf-style format strings
    -Wimplicit-fallthrough   # a switch case that runs into the next
)

if(TARNWELL_WERROR)
    target_compile_options(tarnwell_warnings INTERFACE -Werror)
endif()
