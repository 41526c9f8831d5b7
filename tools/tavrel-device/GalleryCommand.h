#pragma once
// tavrel-device ui-gallery [--headless] [--snapshot FILE] [--open none|menu|message-box]
//                          [--script FILE] [--zoom N]
// Shows one dialog holding every control of the window platform, with buttons that open a popup
// menu and a message box. With --snapshot the screen is written as PNG once the dialog (and the
// menu or message box chosen with --open) is up and idle, and the command ends.

#include <string>
#include <vector>

// The usage with the script actions, for --help.
const char* galleryCommandUsage();
int runGalleryCommand(const std::vector<std::string>& args);
