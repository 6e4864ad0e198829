#include "render/webgl/FixedState.h"

#include <cmath>
#include <cstddef>

namespace {

// OpenGL reads matrices column by column.
void ToColumnMajorFloats(const double m[16], GLfloat out[16]) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out[j * 4 + i] = static_cast<GLfloat>(m[i * 4 + j]);
        }
    }
}

void Normalize(double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

// The normal (0, 0, 1) that no vertex overrides, taken into eye coordinates
// by the inverse transpose of the model-view matrix's upper 3 x 3 and made
// unit length (GL_NORMALIZE). That is the third row of the inverse.
void EyeNormal(const double mv[16], double out[3]) {
    const auto a = [&](int i, int j) { return mv[i * 4 + j]; };
    // Cofactors of the third column give the third row of the inverse; the
    // determinant's sign keeps the normal's side.
    const double c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const double c12 = -(a(0, 0) * a(2, 1) - a(0, 1) * a(2, 0));
    const double c22 = a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0);
    const double det = a(0, 2) * c02 + a(1, 2) * c12 + a(2, 2) * c22;
    out[0] = c02;
    out[1] = c12;
    out[2] = c22;
    if (det < 0.0) {
        out[0] = -out[0];
        out[1] = -out[1];
        out[2] = -out[2];
    }
    Normalize(out);
}

void SetMaterialUniforms(const FixedState& s, const FixedMaterial& m, GLint ambient, GLint diffuse,
                         GLint specular, GLint shininess) {
    // a_m * (scene ambient + light ambient) and s_m * light specular, the
    // parts of the sum that do not change with the vertex.
    glUniform3f(ambient, m.ambient[0] * s.sceneAmbient[0] + m.ambient[0] * s.lightAmbient[0],
                m.ambient[1] * s.sceneAmbient[1] + m.ambient[1] * s.lightAmbient[1],
                m.ambient[2] * s.sceneAmbient[2] + m.ambient[2] * s.lightAmbient[2]);
    glUniform4fv(diffuse, 1, m.diffuse);
    glUniform3f(specular, m.specular[0] * s.lightSpecular[0], m.specular[1] * s.lightSpecular[1],
                m.specular[2] * s.lightSpecular[2]);
    glUniform1f(shininess, m.shininess);
}

}  // namespace

bool MakeFixedState(FixedState& state, std::string& error) {
    if (!BuildLightingShader(state.shader, error)) {
        return false;
    }
    glGenBuffers(1, &state.vertexBuffer);
    return true;
}

void DrawGathered(FixedState& state) {
    if (state.triangles.empty()) {
        return;
    }
    const LightingShader& s = state.shader;
    glUseProgram(s.program);
    GLfloat matrix[16];
    ToColumnMajorFloats(state.modelView, matrix);
    glUniformMatrix4fv(s.modelView, 1, GL_FALSE, matrix);
    ToColumnMajorFloats(state.projection, matrix);
    glUniformMatrix4fv(s.projection, 1, GL_FALSE, matrix);

    double normal[3];
    EyeNormal(state.modelView, normal);
    glUniform3f(s.eyeNormal, static_cast<GLfloat>(normal[0]), static_cast<GLfloat>(normal[1]),
                static_cast<GLfloat>(normal[2]));
    double light[3] = {state.lightPosition[0], state.lightPosition[1], state.lightPosition[2]};
    Normalize(light);
    // The viewer at infinity looks down -z: the half vector is L + (0, 0, 1).
    double half[3] = {light[0], light[1], light[2] + 1.0};
    Normalize(half);
    glUniform3f(s.lightDirection, static_cast<GLfloat>(light[0]), static_cast<GLfloat>(light[1]),
                static_cast<GLfloat>(light[2]));
    glUniform3f(s.halfVector, static_cast<GLfloat>(half[0]), static_cast<GLfloat>(half[1]),
                static_cast<GLfloat>(half[2]));
    glUniform3f(s.lightDiffuse, state.lightDiffuse[0], state.lightDiffuse[1],
                state.lightDiffuse[2]);
    glUniform1f(s.trackColor, state.colorTracking ? 1.0f : 0.0f);
    SetMaterialUniforms(state, state.front, s.frontAmbient, s.frontDiffuse, s.frontSpecular,
                        s.frontShininess);
    SetMaterialUniforms(state, state.back, s.backAmbient, s.backDiffuse, s.backSpecular,
                        s.backShininess);

    glBindBuffer(GL_ARRAY_BUFFER, state.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(state.triangles.size() * sizeof(FixedVertex)),
                 state.triangles.data(), GL_STREAM_DRAW);
    glEnableVertexAttribArray(static_cast<GLuint>(s.position));
    glVertexAttribPointer(static_cast<GLuint>(s.position), 3, GL_FLOAT, GL_FALSE,
                          sizeof(FixedVertex),
                          reinterpret_cast<const void*>(offsetof(FixedVertex, x)));
    glEnableVertexAttribArray(static_cast<GLuint>(s.color));
    glVertexAttribPointer(static_cast<GLuint>(s.color), 4, GL_UNSIGNED_BYTE, GL_TRUE,
                          sizeof(FixedVertex),
                          reinterpret_cast<const void*>(offsetof(FixedVertex, red)));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(state.triangles.size()));
    state.triangles.clear();
}
