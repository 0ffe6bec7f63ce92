#pragma once

#include <QIcon>
#include <QString>

namespace lintrel {

// The application's version numbers, as the build gives them.
struct AppVersion {
    int major;
    int minor;
    int revision;
};

[[nodiscard]] AppVersion appVersion();

// "Ver " and the three numbers in plain decimal digits, joined by points: Ver 1.1.0.
[[nodiscard]] QString versionText(const AppVersion& version);

// The application icon of frmMain, frmAbout and the desktop entry.
[[nodiscard]] QIcon appIcon();

}  // namespace lintrel
