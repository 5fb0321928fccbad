#include "platform/Platform_GL.h"

#include <dlfcn.h>

#include <type_traits>

Gl_Functions Gl;
Glu_Functions Glu;

namespace {

template <class R, class... A>
R Gl_Stub(A...) {
  if constexpr (!std::is_void_v<R>) return R{};
}

template <class R, class... A>
void Set_Stub(R (*&slot)(A...)) {
  slot = &Gl_Stub<R, A...>;
}

// Calls visit(slot, name) for every entry of the GL table: the one list of names.
template <class Visit>
void For_Each_Gl_Entry(Gl_Functions& t, Visit&& visit) {
  visit(t.AlphaFunc, "glAlphaFunc"); visit(t.Begin, "glBegin"); visit(t.BindTexture, "glBindTexture");
  visit(t.BlendFunc, "glBlendFunc"); visit(t.CallList, "glCallList"); visit(t.Clear, "glClear");
  visit(t.ClearColor, "glClearColor"); visit(t.ClearDepth, "glClearDepth"); visit(t.Color3f, "glColor3f");
  visit(t.Color3ub, "glColor3ub"); visit(t.Color4f, "glColor4f"); visit(t.Color4ub, "glColor4ub");
  visit(t.ColorMask, "glColorMask"); visit(t.CullFace, "glCullFace"); visit(t.DeleteLists, "glDeleteLists");
  visit(t.DeleteTextures, "glDeleteTextures"); visit(t.DepthFunc, "glDepthFunc"); visit(t.DepthMask, "glDepthMask");
  visit(t.Disable, "glDisable"); visit(t.Enable, "glEnable"); visit(t.End, "glEnd"); visit(t.EndList, "glEndList");
  visit(t.Finish, "glFinish"); visit(t.Flush, "glFlush"); visit(t.FrontFace, "glFrontFace");
  visit(t.GenLists, "glGenLists"); visit(t.GenTextures, "glGenTextures"); visit(t.GetError, "glGetError");
  visit(t.GetFloatv, "glGetFloatv"); visit(t.GetIntegerv, "glGetIntegerv"); visit(t.GetString, "glGetString");
  visit(t.GetTexImage, "glGetTexImage"); visit(t.Hint, "glHint"); visit(t.IsEnabled, "glIsEnabled");
  visit(t.LightModelfv, "glLightModelfv"); visit(t.LightModeli, "glLightModeli"); visit(t.Lightfv, "glLightfv");
  visit(t.LineWidth, "glLineWidth"); visit(t.LoadIdentity, "glLoadIdentity"); visit(t.LoadMatrixf, "glLoadMatrixf");
  visit(t.Materialf, "glMaterialf"); visit(t.Materialfv, "glMaterialfv"); visit(t.MatrixMode, "glMatrixMode");
  visit(t.MultMatrixf, "glMultMatrixf"); visit(t.NewList, "glNewList"); visit(t.Normal3f, "glNormal3f");
  visit(t.Ortho, "glOrtho"); visit(t.PixelStorei, "glPixelStorei"); visit(t.PointSize, "glPointSize");
  visit(t.PolygonMode, "glPolygonMode"); visit(t.PopAttrib, "glPopAttrib"); visit(t.PopMatrix, "glPopMatrix");
  visit(t.PushAttrib, "glPushAttrib"); visit(t.PushMatrix, "glPushMatrix");
  visit(t.ReadBuffer, "glReadBuffer"); visit(t.ReadPixels, "glReadPixels"); visit(t.Rotatef, "glRotatef");
  visit(t.Scalef, "glScalef"); visit(t.ShadeModel, "glShadeModel"); visit(t.TexCoord2f, "glTexCoord2f");
  visit(t.TexEnvf, "glTexEnvf"); visit(t.TexEnvi, "glTexEnvi"); visit(t.TexGeni, "glTexGeni");
  visit(t.TexImage2D, "glTexImage2D"); visit(t.TexParameterf, "glTexParameterf");
  visit(t.TexParameteri, "glTexParameteri"); visit(t.TexSubImage2D, "glTexSubImage2D");
  visit(t.Translatef, "glTranslatef"); visit(t.Vertex2f, "glVertex2f"); visit(t.Vertex3f, "glVertex3f");
  visit(t.Vertex3fv, "glVertex3fv"); visit(t.Viewport, "glViewport");
}

template <class Visit>
void For_Each_Glu_Entry(Glu_Functions& t, Visit&& visit) {
  visit(t.Perspective, "gluPerspective"); visit(t.Build2DMipmaps, "gluBuild2DMipmaps");
  visit(t.NewQuadric, "gluNewQuadric"); visit(t.DeleteQuadric, "gluDeleteQuadric");
  visit(t.QuadricTexture, "gluQuadricTexture"); visit(t.QuadricNormals, "gluQuadricNormals");
  visit(t.QuadricDrawStyle, "gluQuadricDrawStyle"); visit(t.Sphere, "gluSphere"); visit(t.LookAt, "gluLookAt");
}

// The tables hold stubs from the start of the process.
struct Stub_Installer {
  Stub_Installer() { Gl_Unbind(); }
} Install_Stubs_At_Start;

bool Bound = false;

} // namespace

bool Gl_Bind(const std::function<void*(const char*)>& lookup, std::string* missing) {
  bool complete = true;
  auto note_missing = [&](const char* name) {
    complete = false;
    if (missing) *missing += std::string(missing->empty() ? "" : " ") + name;
  };
  For_Each_Gl_Entry(Gl, [&](auto& slot, const char* name) {
    void* address = lookup(name);
    if (address)
      slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
    else
      note_missing(name);
  });
  // The GLU library is opened once and stays loaded for the process.
  static void* glu_library = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
  For_Each_Glu_Entry(Glu, [&](auto& slot, const char* name) {
    void* address = glu_library ? dlsym(glu_library, name) : nullptr;
    if (address)
      slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
    else
      note_missing(name);
  });
  Bound = true;
  return complete;
}

void Gl_Unbind() {
  For_Each_Gl_Entry(Gl, [](auto& slot, const char*) { Set_Stub(slot); });
  For_Each_Glu_Entry(Glu, [](auto& slot, const char*) { Set_Stub(slot); });
  Bound = false;
}

bool Gl_Is_Bound() { return Bound; }
