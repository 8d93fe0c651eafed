#pragma once

#include "desktop/prompter.h"
#include "settings/inifile.h"

// Writes to the INI file where the user just asked for it (a dialog's Save
// or close, the scan-port choice); a refused write is told in the usual
// "Unable to write to <path>" box and changes nothing else. False when refused.
template <typename Write>
bool writeOrTell(Prompter &prompter, Write write)
{
    try {
        write();
        return true;
    } catch (const IniWriteError &e) {
        prompter.error(e.message());
        return false;
    }
}
