// Scene_Setup_Unit: Setup_Scene_Objects, the scene set-up step of Init_Scene.
// Runs once per process after the context exists and the pictures are
// decoded: switches the splash to its loading state, has the textures
// uploaded, and outside full screen switches off what needs the full asset
// set. GUI thread only.
#pragma once

void Setup_Scene_Objects();
