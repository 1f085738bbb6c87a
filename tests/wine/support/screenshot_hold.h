#pragma once
// Lets tests/wine/take_screenshots.sh photograph a window while a test holds
// it open: the test leaves "<name>.pending" in SOMV_SCREENSHOT_DIR and waits
// until the script has taken the picture and removed the marker.
#include <string>

namespace somv::test {

// With a trailing backslash; empty when no screenshots are wanted.
std::wstring ScreenshotDirectory();

void HoldForScreenshot(const std::wstring& directory, const std::wstring& name);

}  // namespace somv::test
