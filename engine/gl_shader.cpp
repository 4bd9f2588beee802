#include "engine/gl_shader.h"

#include "engine/gl_api.h"

namespace {
const char* const kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aTexCoord;
uniform mat4 uTransform;
out vec4 vColour;
out vec2 vTexCoord;
void main() {
  gl_Position = uTransform * vec4(aPosition, 1.0);
  vColour = aColour;
  vTexCoord = aTexCoord;
}
)";

// The add mode adds colours but still multiplies alpha, as the fixed-function stage did.
const char* const kFragmentSource = R"(#version 330 core
in vec4 vColour;
in vec2 vTexCoord;
uniform sampler2D uTexture;
uniform bool uColourAdd;
out vec4 fragColour;
void main() {
  vec4 texel = texture(uTexture, vTexCoord);
  vec4 colour = uColourAdd ? vec4(min(texel.rgb + vColour.rgb, vec3(1.0)), texel.a * vColour.a)
                           : texel * vColour;
  if (colour.a < 0.5 / 255.0) discard;
  fragColour = colour;
}
)";

GLuint Compile(GLenum kind, const char* source, char* log, int logSize) {
  GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok == GL_TRUE) return shader;
  glGetShaderInfoLog(shader, logSize, nullptr, log);
  glDeleteShader(shader);
  return 0;
}
}  // namespace

unsigned BuildShaderProgram(char* log, int logSize) {
  if (logSize > 0) log[0] = '\0';
  GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexSource, log, logSize);
  if (vertex == 0) return 0;
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentSource, log, logSize);
  if (fragment == 0) {
    glDeleteShader(vertex);
    return 0;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok == GL_TRUE) return program;
  glGetProgramInfoLog(program, logSize, nullptr, log);
  glDeleteProgram(program);
  return 0;
}
