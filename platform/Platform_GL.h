// Platform_GL: the OpenGL 1.1 and GLU entry points the renderer calls, bound
// by name into a table of our own.
//
// The renderer calls Gl.Clear(...), Gl.Begin(...), Glu.Perspective(...)
// instead of the linked functions, so the entry points come from the current
// context's address lookup at run time. Until Gl_Bind runs (and in tests
// without a display) every entry is a stub that does nothing and returns 0,
// which is how the drawing code behaves without a current context.
// GUI thread only.
#pragma once

#include <GL/gl.h>

#include <functional>
#include <string>

struct Gl_Functions {
  void (*AlphaFunc)(GLenum, GLclampf);
  void (*Begin)(GLenum);
  void (*BindTexture)(GLenum, GLuint);
  void (*BlendFunc)(GLenum, GLenum);
  void (*CallList)(GLuint);
  void (*Clear)(GLbitfield);
  void (*ClearColor)(GLclampf, GLclampf, GLclampf, GLclampf);
  void (*ClearDepth)(GLclampd);
  void (*Color3f)(GLfloat, GLfloat, GLfloat);
  void (*Color3ub)(GLubyte, GLubyte, GLubyte);
  void (*Color4f)(GLfloat, GLfloat, GLfloat, GLfloat);
  void (*Color4ub)(GLubyte, GLubyte, GLubyte, GLubyte);
  void (*ColorMask)(GLboolean, GLboolean, GLboolean, GLboolean);
  void (*CullFace)(GLenum);
  void (*DeleteLists)(GLuint, GLsizei);
  void (*DeleteTextures)(GLsizei, const GLuint*);
  void (*DepthFunc)(GLenum);
  void (*DepthMask)(GLboolean);
  void (*Disable)(GLenum);
  void (*Enable)(GLenum);
  void (*End)();
  void (*EndList)();
  void (*Finish)();
  void (*Flush)();
  void (*FrontFace)(GLenum);
  GLuint (*GenLists)(GLsizei);
  void (*GenTextures)(GLsizei, GLuint*);
  GLenum (*GetError)();
  void (*GetFloatv)(GLenum, GLfloat*);
  void (*GetIntegerv)(GLenum, GLint*);
  const GLubyte* (*GetString)(GLenum);
  void (*GetTexImage)(GLenum, GLint, GLenum, GLenum, GLvoid*);
  void (*Hint)(GLenum, GLenum);
  GLboolean (*IsEnabled)(GLenum);
  void (*LightModelfv)(GLenum, const GLfloat*);
  void (*LightModeli)(GLenum, GLint);
  void (*Lightfv)(GLenum, GLenum, const GLfloat*);
  void (*LineWidth)(GLfloat);
  void (*LoadIdentity)();
  void (*LoadMatrixf)(const GLfloat*);
  void (*Materialf)(GLenum, GLenum, GLfloat);
  void (*Materialfv)(GLenum, GLenum, const GLfloat*);
  void (*MatrixMode)(GLenum);
  void (*MultMatrixf)(const GLfloat*);
  void (*NewList)(GLuint, GLenum);
  void (*Normal3f)(GLfloat, GLfloat, GLfloat);
  void (*Ortho)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);
  void (*PixelStorei)(GLenum, GLint);
  void (*PointSize)(GLfloat);
  void (*PolygonMode)(GLenum, GLenum);
  void (*PopAttrib)();
  void (*PopMatrix)();
  void (*PushAttrib)(GLbitfield);
  void (*PushMatrix)();
  void (*ReadBuffer)(GLenum);
  void (*ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*);
  void (*Rotatef)(GLfloat, GLfloat, GLfloat, GLfloat);
  void (*Scalef)(GLfloat, GLfloat, GLfloat);
  void (*ShadeModel)(GLenum);
  void (*TexCoord2f)(GLfloat, GLfloat);
  void (*TexEnvf)(GLenum, GLenum, GLfloat);
  void (*TexEnvi)(GLenum, GLenum, GLint);
  void (*TexGeni)(GLenum, GLenum, GLint);
  void (*TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*);
  void (*TexParameterf)(GLenum, GLenum, GLfloat);
  void (*TexParameteri)(GLenum, GLenum, GLint);
  void (*TexSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const GLvoid*);
  void (*Translatef)(GLfloat, GLfloat, GLfloat);
  void (*Vertex2f)(GLfloat, GLfloat);
  void (*Vertex3f)(GLfloat, GLfloat, GLfloat);
  void (*Vertex3fv)(const GLfloat*);
  void (*Viewport)(GLint, GLint, GLsizei, GLsizei);
};

// GLU, from the system's GLU library (opened by name).
struct GLUquadric;
struct Glu_Functions {
  void (*Perspective)(GLdouble, GLdouble, GLdouble, GLdouble);
  GLint (*Build2DMipmaps)(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*);
  GLUquadric* (*NewQuadric)();
  void (*DeleteQuadric)(GLUquadric*);
  void (*QuadricTexture)(GLUquadric*, GLboolean);
  void (*QuadricNormals)(GLUquadric*, GLenum);
  void (*QuadricDrawStyle)(GLUquadric*, GLenum);
  void (*Sphere)(GLUquadric*, GLdouble, GLint, GLint);
  void (*LookAt)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);
};

extern Gl_Functions Gl;
extern Glu_Functions Glu;

// Fills the tables from `lookup` (the current context's address lookup by
// name) and the GLU library. Entries that cannot be found keep their stubs;
// their names go to *missing. False when any entry is missing.
bool Gl_Bind(const std::function<void*(const char*)>& lookup, std::string* missing = nullptr);
// Puts the stubs back (after the context is gone).
void Gl_Unbind();
// True when Gl_Bind has filled the tables.
bool Gl_Is_Bound();
