// The GL layer's shader sources and their variants.
#include "platform/gl_layer/es_programs.h"

namespace gllayer {

namespace {

// The fixed-function vertex stage for the program's calls: the position through projection ×
// modelview as separate multiply-adds in column order (the order the fixed-function program
// uses, so that positions match it to the bit), the colour clamped to 0..1 as the fixed-function
// pipeline clamps vertex colours, and, with SPHERE_MAP, sphere-mapped texture coordinates.
// The colour goes out twice: flat, for draws whose vertices share one colour, which then
// arrives exactly (the fixed-function pipeline interpolates colours in screen space, where equal
// values stay exact, while a perspective-correct varying can land a hair off, and a hair below
// a half rounds to the next 8-bit value down); and interpolated, for colours that vary.
constexpr const char* kVertexShader = R"(
uniform mat4 uMvp;
in vec4 aPosition;
in vec4 aColor;
in vec4 aTexCoord;
out vec4 vColor;
flat out vec4 vFlatColor;
out vec4 vTexCoord;
#if SPHERE_MAP
uniform mat4 uModelview;
uniform mat3 uNormalMatrix;
uniform vec3 uNormal;
uniform bool uSphereMapS;
uniform bool uSphereMapT;
#endif
void main() {
    vec4 p = uMvp[0] * aPosition.x;
    p = uMvp[1] * aPosition.y + p;
    p = uMvp[2] * aPosition.z + p;
    gl_Position = uMvp[3] * aPosition.w + p;
    vColor = clamp(aColor, 0.0, 1.0);
    vFlatColor = vColor;
    vec4 st = aTexCoord;
#if SPHERE_MAP
    vec4 e = uModelview[0] * aPosition.x;
    e = uModelview[1] * aPosition.y + e;
    e = uModelview[2] * aPosition.z + e;
    e = uModelview[3] * aPosition.w + e;
    vec3 u = e.xyz * inversesqrt(dot(e.xyz, e.xyz));
    vec3 n = uNormalMatrix * uNormal;
    float nu = dot(n, u);
    vec3 r = -(nu + nu) * n + u;
    vec3 r1 = r + vec3(0.0, 0.0, 1.0);
    float halfInverseM = inversesqrt(dot(r1, r1)) * 0.5;
    vec2 mapped = r.xy * halfInverseM + 0.5;
    if (uSphereMapS) {
        st.x = mapped.x;
    }
    if (uSphereMapT) {
        st.y = mapped.y;
    }
#endif
    vTexCoord = st;
}
)";

// SHADING 0: the colour; 1: GL_MODULATE texturing; 2: a bitmap's mask. GL_INVERT's source is
// white. Texture coordinates are looked up projectively (divided by the interpolated q, which
// is 1 at every vertex), as the fixed-function pipeline does: the division rounds, and a plain
// lookup would land on the neighbouring texel wherever a pixel centre falls on a texel edge.
constexpr const char* kFragmentShader = R"(
precision highp float;
uniform sampler2D uTexture;
uniform bool uWhite;
uniform bool uVertexColors;
in vec4 vColor;
flat in vec4 vFlatColor;
in vec4 vTexCoord;
out vec4 fragColor;
void main() {
    vec4 color = uVertexColors ? vColor : vFlatColor;
#if SHADING == 1
    color = textureProj(uTexture, vTexCoord.xyw) * color;
#endif
#if SHADING == 2
    if (texture(uTexture, vTexCoord.xy).r == 0.0) {
        discard;
    }
#endif
    fragColor = uWhite ? vec4(1.0) : color;
}
)";

GLuint Compile(GLenum kind, const std::string& source, std::string* error) {
    const GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) {
        return shader;
    }
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    *error = std::string("the GL layer's shader does not compile: ") + log;
    glDeleteShader(shader);
    return 0;
}

bool Build(ProgramKind kind, EsProgram* built, std::string* error) {
    const int shading = kind == ProgramKind::Color ? 0 : (kind == ProgramKind::Bitmap ? 2 : 1);
    const bool sphereMap = kind == ProgramKind::SphereMapped;
    const std::string header = "#version 300 es\n#define SHADING " + std::to_string(shading) +
                               "\n#define SPHERE_MAP " + (sphereMap ? "1" : "0") + "\n";
    const GLuint vertex = Compile(GL_VERTEX_SHADER, header + kVertexShader, error);
    const GLuint fragment =
        vertex != 0 ? Compile(GL_FRAGMENT_SHADER, header + kFragmentShader, error) : 0;
    if (fragment == 0) {
        glDeleteShader(vertex);
        return false;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, kPositionAttribute, "aPosition");
    glBindAttribLocation(program, kColorAttribute, "aColor");
    glBindAttribLocation(program, kTexCoordAttribute, "aTexCoord");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        *error = std::string("the GL layer's shader does not link: ") + log;
        glDeleteProgram(program);
        return false;
    }
    *built = EsProgram{};
    built->program = program;
    built->mvp = glGetUniformLocation(program, "uMvp");
    built->modelview = glGetUniformLocation(program, "uModelview");
    built->normalMatrix = glGetUniformLocation(program, "uNormalMatrix");
    built->normal = glGetUniformLocation(program, "uNormal");
    built->sphereMapS = glGetUniformLocation(program, "uSphereMapS");
    built->sphereMapT = glGetUniformLocation(program, "uSphereMapT");
    built->white = glGetUniformLocation(program, "uWhite");
    built->vertexColors = glGetUniformLocation(program, "uVertexColors");
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "uTexture"), 0);
    return true;
}

}  // namespace

bool BuildPrograms(EsProgram (&programs)[kProgramKinds], std::string* error) {
    for (int32_t k = 0; k < kProgramKinds; ++k) {
        if (!Build(static_cast<ProgramKind>(k), &programs[k], error)) {
            DeletePrograms(programs);
            return false;
        }
    }
    return true;
}

void DeletePrograms(EsProgram (&programs)[kProgramKinds]) {
    for (EsProgram& program : programs) {
        if (program.program != 0) {
            glDeleteProgram(program.program);
        }
        program = EsProgram{};
    }
}

}  // namespace gllayer
