#include "render/webgl/LightingShader.h"

#include <vector>

namespace {

// The fixed pipeline's colour of a lit vertex, for one light at infinity
// and a viewer at infinity (no local viewer):
//   c = a_m * (a_scene + a_light)
//     + max(n.L, 0) * d_m * d_light
//     + (n.L > 0 ? max(n.H, 0)^shininess : 0) * s_m * s_light,
// alpha from the diffuse colour, each component clamped to [0, 1] before
// it is interpolated. Two-sided lighting computes the back colour with the
// back material and the normal turned round; the rasteriser picks one by
// the winding of the triangle on the screen. The products of material and
// light colours that do not change during a frame arrive precomputed.
constexpr const char* kVertexSource = R"(
precision highp float;
attribute vec3 position;
attribute vec4 color;
uniform mat4 modelView;
uniform mat4 projection;
uniform vec3 eyeNormal;
uniform vec3 lightDirection;
uniform vec3 halfVector;
uniform vec3 lightDiffuse;
uniform float trackColor;
uniform vec3 frontAmbient;
uniform vec4 frontDiffuse;
uniform vec3 frontSpecular;
uniform float frontShininess;
uniform vec3 backAmbient;
uniform vec4 backDiffuse;
uniform vec3 backSpecular;
uniform float backShininess;
varying vec4 frontColor;
varying vec4 backColor;

vec4 Lit(vec3 n, vec3 ambient, vec4 diffuse, vec3 specular, float shininess) {
    float nDotL = dot(n, lightDirection);
    vec3 c = ambient + max(nDotL, 0.0) * diffuse.rgb * lightDiffuse;
    if (nDotL > 0.0) {
        float nDotH = max(dot(n, halfVector), 0.0);
        // pow(0, s) is undefined in GLSL; the fixed pipeline's is 0.
        if (nDotH > 0.0) {
            c += pow(nDotH, shininess) * specular;
        }
    }
    return clamp(vec4(c, diffuse.a), 0.0, 1.0);
}

void main() {
    vec4 front = mix(frontDiffuse, color, trackColor);
    vec4 back = mix(backDiffuse, color, trackColor);
    frontColor = Lit(eyeNormal, frontAmbient, front, frontSpecular, frontShininess);
    backColor = Lit(-eyeNormal, backAmbient, back, backSpecular, backShininess);
    gl_Position = projection * (modelView * vec4(position, 1.0));
}
)";

constexpr const char* kFragmentSource = R"(
precision highp float;
varying vec4 frontColor;
varying vec4 backColor;
void main() {
    gl_FragColor = gl_FrontFacing ? frontColor : backColor;
}
)";

std::string InfoLog(GLuint object, bool isProgram) {
    GLint length = 0;
    if (isProgram) {
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    } else {
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    if (isProgram) {
        glGetProgramInfoLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
    } else {
        glGetShaderInfoLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
    }
    return text.data();
}

GLuint Compile(GLenum kind, const char* source, std::string& error) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        error = InfoLog(shader, false);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool BuildLightingShader(LightingShader& out, std::string& error) {
    const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexSource, error);
    if (vertex == 0) {
        return false;
    }
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentSource, error);
    if (fragment == 0) {
        glDeleteShader(vertex);
        return false;
    }
    LightingShader shader;
    shader.program = glCreateProgram();
    glAttachShader(shader.program, vertex);
    glAttachShader(shader.program, fragment);
    glBindAttribLocation(shader.program, 0, "position");
    glBindAttribLocation(shader.program, 1, "color");
    glLinkProgram(shader.program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        error = InfoLog(shader.program, true);
        glDeleteProgram(shader.program);
        return false;
    }
    const GLuint p = shader.program;
    shader.position = 0;
    shader.color = 1;
    shader.modelView = glGetUniformLocation(p, "modelView");
    shader.projection = glGetUniformLocation(p, "projection");
    shader.eyeNormal = glGetUniformLocation(p, "eyeNormal");
    shader.lightDirection = glGetUniformLocation(p, "lightDirection");
    shader.halfVector = glGetUniformLocation(p, "halfVector");
    shader.lightDiffuse = glGetUniformLocation(p, "lightDiffuse");
    shader.trackColor = glGetUniformLocation(p, "trackColor");
    shader.frontAmbient = glGetUniformLocation(p, "frontAmbient");
    shader.frontDiffuse = glGetUniformLocation(p, "frontDiffuse");
    shader.frontSpecular = glGetUniformLocation(p, "frontSpecular");
    shader.frontShininess = glGetUniformLocation(p, "frontShininess");
    shader.backAmbient = glGetUniformLocation(p, "backAmbient");
    shader.backDiffuse = glGetUniformLocation(p, "backDiffuse");
    shader.backSpecular = glGetUniformLocation(p, "backSpecular");
    shader.backShininess = glGetUniformLocation(p, "backShininess");
    out = shader;
    return true;
}
