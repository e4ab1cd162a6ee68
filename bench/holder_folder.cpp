// SPDX-License-Identifier: GPL-3.0-or-later
// Writes an affiliated holder's data folder with a long history, to time the
// program's start in it:
//
//   holder_folder DIR RECEIVED [SENT [CORRESPONDENTS [QUEUED]]]
//   cd DIR && /usr/bin/time -f "%e s %M KiB" quarneltit --start-check

#include <cstdio>
#include <cstdlib>

#include "holder_data.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 6) {
        std::fprintf(stderr,
                     "usage: holder_folder DIR RECEIVED [SENT [CORRESPONDENTS [QUEUED]]]\n");
        return 2;
    }
    const auto count = [&](int i) { return i < argc ? std::size_t(std::atoll(argv[i])) : 0; };
    const quarnel::bench::History h{count(4), count(5), count(3), count(2)};
    if (!quarnel::bench::WriteHolderFolder(argv[1], h)) {
        std::fprintf(stderr, "holder_folder: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
