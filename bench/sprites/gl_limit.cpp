#include "gl_limit.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

using namespace irr;

namespace {

const int kTextureSide = 8;

struct PlainVertex {
    float x, y;
    float u, v;
    std::uint8_t rgba[4];
};

// Normalised device coordinates of every corner, with the whole texture on each quad.
std::vector<PlainVertex> clipSpaceVertices(scene::ICameraSceneNode& camera,
                                           const std::vector<core::vector3df>& corners) {
    const core::matrix4 viewProjection = camera.getProjectionMatrix() * camera.getViewMatrix();
    const float uv[4][2] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};
    std::vector<PlainVertex> vertices;
    vertices.reserve(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) {
        float clip[4];
        viewProjection.transformVect(clip, corners[i]);
        vertices.push_back({clip[0] / clip[3],
                            clip[1] / clip[3],
                            uv[i % 4][0],
                            uv[i % 4][1],
                            {255, 255, 255, 255}});
    }
    return vertices;
}

std::vector<GLuint> quadIndices(std::size_t quads) {
    const GLuint pattern[6] = {0, 2, 1, 0, 3, 2};
    std::vector<GLuint> indices;
    indices.reserve(quads * 6);
    for (std::size_t quad = 0; quad < quads; ++quad) {
        for (GLuint index : pattern) {
            indices.push_back(static_cast<GLuint>(quad * 4) + index);
        }
    }
    return indices;
}

GLuint makeTexture(video::SColor texel) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < kTextureSide * kTextureSide; ++i) {
        pixels.insert(pixels.end(), {static_cast<std::uint8_t>(texel.getRed()),
                                     static_cast<std::uint8_t>(texel.getGreen()),
                                     static_cast<std::uint8_t>(texel.getBlue()),
                                     static_cast<std::uint8_t>(texel.getAlpha())});
    }
    // The library's texture bindings stay as it last set them.
    glPushAttrib(GL_TEXTURE_BIT);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSide, kTextureSide, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels.data());
    glPopAttrib();
    return texture;
}

// Identity matrices and the fixed-function state of an alpha-blended sprite, drawing from the
// two buffers; the library's state is saved first and put back by restoreLibraryState.
void setUpPlainState(GLuint texture, const GLuint buffers[2]) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
        glMatrixMode(mode);
        glPushMatrix();
        glLoadIdentity();
    }
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBlendEquation(GL_FUNC_ADD);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    const GLsizei stride = sizeof(PlainVertex);
    glVertexPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(PlainVertex, x)));
    glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(PlainVertex, u)));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride,
                   reinterpret_cast<const void*>(offsetof(PlainVertex, rgba)));
}

void restoreLibraryState() {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    for (GLenum mode : {GL_TEXTURE, GL_MODELVIEW, GL_PROJECTION}) {
        glMatrixMode(mode);
        glPopMatrix();
    }
    glPopClientAttrib();
    glPopAttrib();
}

} // namespace

PlainGlQuads::PlainGlQuads(IrrlichtDevice* device, const std::vector<core::vector3df>& corners,
                           video::SColor texel)
    : device(device) {
    scene::ICameraSceneNode* camera = device->getSceneManager()->getActiveCamera();
    if (device->getVideoDriver()->getDriverType() != video::EDT_OPENGL || camera == nullptr ||
        corners.size() < 4) {
        return;
    }
    const std::vector<PlainVertex> vertices = clipSpaceVertices(*camera, corners);
    const std::vector<GLuint> indices = quadIndices(corners.size() / 4);
    texture = makeTexture(texel);
    glGenBuffers(2, buffers);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(PlainVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)),
                 indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    indexCount = static_cast<int>(indices.size());
}

PlainGlQuads::~PlainGlQuads() {
    if (available()) {
        glDeleteBuffers(2, buffers);
        glDeleteTextures(1, &texture);
    }
}

std::vector<double> PlainGlQuads::frameTimes(int warmUpFrames, int measuredFrames) {
    std::vector<double> times;
    if (!available()) {
        return times;
    }
    video::IVideoDriver* driver = device->getVideoDriver();
    setUpPlainState(texture, buffers);
    for (int frame = 0; frame < warmUpFrames + measuredFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        device->run();
        driver->beginScene(true, true, video::SColor(255, 0, 0, 0));
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
        driver->endScene();
        const auto end = std::chrono::steady_clock::now();
        if (frame >= warmUpFrames) {
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
    }
    restoreLibraryState();
    return times;
}
