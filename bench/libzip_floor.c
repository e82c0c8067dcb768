// SPDX-License-Identifier: GPL-3.0-or-later
/* The least that any program reading archives through libzip does, for
 * the benchmark's floor lines:
 *   libzip_floor list ARCHIVE...        opens each archive, takes every
 *                                       entry's name, closes it;
 *   libzip_floor read ARCHIVE ENTRY...  opens the archive, finds each entry
 *                                       (without regard to case) and reads
 *                                       it whole into memory.
 * Nothing is printed or written. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zip.h>

static int List(int count, char** paths)
{
    for (int k = 0; k < count; ++k) {
        int error = 0;
        zip_t* archive = zip_open(paths[k], ZIP_RDONLY, &error);
        if (archive == NULL) {
            fprintf(stderr, "%s: cannot open (%d)\n", paths[k], error);
            return 1;
        }
        zip_int64_t entries = zip_get_num_entries(archive, 0);
        for (zip_int64_t i = 0; i < entries; ++i) {
            if (zip_get_name(archive, (zip_uint64_t)i, ZIP_FL_ENC_RAW) == NULL) {
                return 1;
            }
        }
        zip_discard(archive);
    }
    return 0;
}

static int Read(const char* path, int count, char** names)
{
    int error = 0;
    zip_t* archive = zip_open(path, ZIP_RDONLY, &error);
    if (archive == NULL) {
        fprintf(stderr, "%s: cannot open (%d)\n", path, error);
        return 1;
    }
    static char buffer[1 << 16];
    for (int k = 0; k < count; ++k) {
        zip_int64_t index = zip_name_locate(archive, names[k], ZIP_FL_NOCASE);
        zip_file_t* file = index < 0 ? NULL : zip_fopen_index(archive, (zip_uint64_t)index, 0);
        if (file == NULL) {
            fprintf(stderr, "%s: no entry %s\n", path, names[k]);
            return 1;
        }
        while (zip_fread(file, buffer, sizeof buffer) > 0) {
        }
        zip_fclose(file);
    }
    zip_discard(archive);
    return 0;
}

int main(int argc, char** argv)
{
    /* libzip converts every entry's time stamp; as tarnwell-cli does, TZ is
     * set so that the C library does not read the zone file for each. */
    setenv("TZ", ":/etc/localtime", 0);
    if (argc >= 3 && strcmp(argv[1], "list") == 0) {
        return List(argc - 2, argv + 2);
    }
    if (argc >= 4 && strcmp(argv[1], "read") == 0) {
        return Read(argv[2], argc - 3, argv + 3);
    }
    fprintf(stderr, "usage: libzip_floor list ARCHIVE... | read ARCHIVE ENTRY...\n");
    return 2;
}
