// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For the texts_<subsystem>.cpp files only: T(id, text) is one entry of a
// subsystem's table, its French text marked for the translation tools.

#include "resources/texts.h"

#define T(id, text)                               \
    ::quarnel::TextEntry {                        \
        id, QT_TRANSLATE_NOOP("QuarnelTit", text) \
    }
