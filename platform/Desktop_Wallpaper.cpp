#include "platform/Desktop_Wallpaper.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>

namespace {

bool Run(const QString& program, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(program).isEmpty()) return false;
  QProcess p;
  p.start(program, arguments);
  if (!p.waitForFinished(3000)) {
    p.kill();
    return false;
  }
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

bool Apply_Desktop_Wallpaper(const std::string& bmp_path) {
  QString path = QString::fromStdString(bmp_path);
  QString uri = "file://" + path;
  QString desktop = QString::fromLocal8Bit(std::getenv("XDG_CURRENT_DESKTOP")).toUpper();
  bool done = false;
  if (desktop.contains("GNOME") || desktop.contains("UNITY") || desktop.contains("CINNAMON")) {
    done = Run("gsettings", {"set", "org.gnome.desktop.background", "picture-uri", uri});
    Run("gsettings", {"set", "org.gnome.desktop.background", "picture-uri-dark", uri});
    Run("gsettings", {"set", "org.gnome.desktop.background", "picture-options", "stretched"});
  } else if (desktop.contains("XFCE")) {
    done = Run("xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/last-image",
                                "-s", path});
  }
  if (!done && std::getenv("DISPLAY")) done = Run("feh", {"--no-fehbg", "--bg-scale", path});
  return done;
}
