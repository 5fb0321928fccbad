// Pictures_Splash: the pictures of the launch form and the About page, and
// the help panel: "JPEG" "Alien_Loader", "Tarvik_Label", "Logo_old_Tarvik",
// "Flash_EYE_with_Magica", "Help_Panel" and the "BITMAP" "LogoTarvik".
// Registered by Pictures_Register (Pictures.cpp) after the other picture
// families; each writer is a pure function of fixed seeds.
#pragma once

#include "resources/Resgen_Assets.h"

void Pictures_Splash_Register(Resgen_Registry& registry);
