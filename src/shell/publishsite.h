#pragma once
// File > Publish site...: the results site of the open tournament's folder.

#include <string>

// Builds the site of the folder of the open tournament's file into the site
// folder chosen the first time for that folder (kept in the settings). Asks to
// save first when the tournament has no file or unsaved changes. Shows the
// progress with a Cancel; the result goes to the status bar, failures to a
// message box.
void ONPUBLISHSITE();

// The site folder remembered for tournament folder `folder` ("" when none).
std::string SITEFOLDERFOR(const std::string& folder);
