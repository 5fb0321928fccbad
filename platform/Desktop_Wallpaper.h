// Desktop_Wallpaper: asks the desktop to show a picture file as its
// wallpaper, where the desktop is one we know how to ask (GNOME, XFCE, a
// window manager whose wallpaper feh sets). Elsewhere nothing happens; the
// file stays for the user. Programs are started with an argument list, never
// through a shell, and not waited on for long. GUI thread.
#pragma once

#include <string>

// True when some desktop took the request.
bool Apply_Desktop_Wallpaper(const std::string& bmp_path);
