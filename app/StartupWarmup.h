#pragma once

// Work done during the start-up delay, so that the main page loads faster at
// its end: a throwaway QML engine loads Qt Quick and Quick Controls (their
// plugins and types stay loaded for the process), reads the interface fonts
// through FontLoader (whose fonts Qt keeps for the process, by address) and
// draws a line in each, so that their glyph caches exist. Nothing of it is
// shown and nothing is logged unless it fails.
namespace StartupWarmup {

void run();

}  // namespace StartupWarmup
