# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that build. Running them through sudo would leave a
# root-owned build/ that the next run as the user cannot write: as root in a
# folder that belongs to someone else, they stop and say how to run them.
refuse_root_in_foreign_folder() {
    local folder owner
    folder=$(pwd)
    owner=$(stat -c %u "$folder")
    if [ "$(id -u)" -eq 0 ] && [ "$owner" -ne 0 ]; then
        local name
        name=$(stat -c %U "$folder")
        echo "$(basename "$0"): not building as root in $folder, which belongs to $name:" >&2
        echo "the build folder would then belong to root and the next run as $name would fail." >&2
        echo "Run it as $name, without sudo; it asks for sudo itself when packages are missing." >&2
        exit 1
    fi
}
