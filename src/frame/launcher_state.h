#pragma once

#include <cstdint>

// The launcher's game choice: which options it offers for what is installed, and the choice
// kept between runs as SELECTED_CFS_VERSION in the settings file.
namespace vokari {

struct LauncherChoice {
    bool anyInstalled = true;
    bool cfs1Enabled = true;
    bool cfs2Enabled = true;
    bool copyEnabled = true;
    int16_t selected = 1; // the first game is selected when the launcher is created
};

// The options for the installed games, with the saved choice applied over them: it wins only
// when its game is installed.
LauncherChoice launcherChoice(bool cfs1Installed, bool cfs2Installed, int16_t savedVersion);

// SELECTED_CFS_VERSION of [VokariWindow], "1" when missing; 0 (no choice) when the text is not a
// whole number of 16 bits.
int16_t readSavedVersion();

// Writes SELECTED_CFS_VERSION. A settings file that cannot be written loses it silently.
void writeSavedVersion(int16_t version);

} // namespace vokari
