// Main_OpenGL_Unit: the OpenGL window and context.
//
// Makes the full-screen window or the preview child inside its parent,
// chooses the pixel format, creates and activates the context (binding the
// GL entry points), sets the projection, runs the scene set-up the render
// loop needs before its first frame, and releases it all when the loop ends.
// In the preview, a movie stands in when no context can be had. Called by the
// render loop; GUI thread only.
#pragma once

#include "platform/Platform_Types.h"

#include <cstdint>
#include <vector>

// The full-screen window (or, drawing into a given window or offscreen, a
// child of that window or an offscreen surface of the same size). 0 on failure.
Window_Handle Create_Fullscreen_Window(int width, int height);
// The preview child window inside `parent`, View_Width x View_Height, not yet
// visible. 0 on failure.
Window_Handle Create_Preview_Window(Window_Handle parent);
// Pixel format, context, activation, GL entry points, then Resize_View.
bool Setup_Pixel_Format(int width, int height);
// Viewport and projection: 45 degrees, fixed aspect 1.333, near 1, far 100.
void Resize_View(int width, int height);
// The scene set-up before the first frame; returns GL_Ready.
bool Init_Scene();
void Shutdown_GL();
// Saves a movie to Flash_Temp_File (in this run's own folder, so runs side by
// side never overwrite each other's). False when it cannot be written.
bool Save_Flash_Temp_File(const std::vector<uint8_t>& movie);
// Preview only: plays one of the fallback movies in the parent window. Any
// failure ends the process.
void Show_Flash_Fallback(Window_Handle parent);

// The fixed aspect ratio of the projection (the window's own is not used).
inline constexpr double View_Aspect = 1.333;
