#include "render/CGLDrawer.h"

#include <cmath>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "assets/LoadTGAResource.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "render/SceneArrays.h"
#include "resources/ResourceIds.h"

namespace {

// One of the hundred steps from -scale/2 to 0.49 scale, by the arithmetic the scene's
// layout has always used.
float RandomSpread(double scale)
{
    return static_cast<float>((CrtRand() % 100 * 0.01 - 0.5) * scale);
}

} // namespace

CGLDrawer::CGLDrawer()
    : m_lastTime(0.0),
      m_sceneTime(0.0),
      m_frameTime(0.0),
      m_cornerUL{},
      m_cornerUR{},
      m_cornerLR{},
      m_cornerLL{},
      m_viewNormal{},
      m_boltColor{},
      m_font{},
      m_lightningClock(0.0),
      m_lightningDone(0.0),
      m_lightningStep(0.35),
      m_flashClock(0.0),
      m_flashDone(0.0),
      m_flashStep(0.05),
      m_texBolt(0),
      m_texSky(0),
      m_texCloud(0),
      m_texGround(0),
      m_texRain(0),
      m_randRing{},
      m_randIndex(0),
      m_branchTarget{},
      m_bolts{},
      m_glyphRows{},
      m_glyphScroll(0.0),
      m_boltShow{},
      m_shapeRing(m_randRing)
{
}

// Textures go with the OpenGL context; nothing of the renderer's own to release.
CGLDrawer::~CGLDrawer() = default;

void CGLDrawer::Init()
{
    CHAIN_OPERATION("CGLDrawer::Init");

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glLineWidth(2.0f);
    glEnable(GL_DITHER);

    const bool quality = G_Settings.HighQuality != 0;
    // The loads leave 2D texturing enabled; the scene relies on that.
    LoadTGAResource(IDR_CLOUD_TEXTURE, m_texCloud, quality, GL_REPEAT);
    LoadTGAResource(IDR_GROUND_TEXTURE, m_texGround, quality, GL_REPEAT);
    LoadTGAResource(IDR_GLOW_TEXTURE, m_texBolt, quality, GL_REPEAT);
    LoadTGAResource(IDR_SKY_TEXTURE, m_texSky, quality, GL_REPEAT);
    LoadTGAResource(IDR_RAIN_TEXTURE, m_texRain, quality, GL_REPEAT);
    m_font.Load(IDR_GLYPH_ATLAS, quality);

    // Far beyond the far plane: no bolt shows or lights anything before its first strike.
    for (BoltRecord& bolt : m_bolts) {
        bolt.start = Vec3{0.0f, -1000.0f, 0.0f};
        bolt.end = Vec3{0.0f, -1000.0f, 0.0f};
        bolt.color = Vec3{0.0f, 0.0f, 0.0f};
    }

    for (Vec3& drop : g_rainDrops) {
        drop.x = RandomSpread(100.0);
        drop.y = RandomSpread(100.0);
        drop.z = static_cast<float>(CrtRand() % 100 * 0.01 * 20);
    }

    // Codes 236..251: the symbol cells of the atlas and the four empty cells before them.
    for (auto& row : m_glyphRows) {
        for (char& code : row)
            code = static_cast<char>(static_cast<unsigned char>((CrtRand() & 15) - 20));
        row[kGlyphRowLength - 1] = 0;
    }

    m_lastTime = ClockMilliseconds() * 0.001;
    _LightningUpdate();
    _FlashUpdate();
}

namespace {

// a cos(angle) + b sin(angle): a turned toward b in their plane, for axes at right angles.
Vec3 Turned(const Vec3& a, const Vec3& b, double degrees)
{
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return Vec3{static_cast<float>(a.x * c + b.x * s), static_cast<float>(a.y * c + b.y * s),
                static_cast<float>(a.z * c + b.z * s)};
}

} // namespace

void CGLDrawer::SetupCamera()
{
    GLdouble viewport[4];
    glGetDoublev(GL_VIEWPORT, viewport);
    const double height = viewport[3] == 0.0 ? 0.1 : viewport[3];
    const double aspect = viewport[2] / height;
    SetupCamera(ViewLens{0.0, -aspect, aspect, -1.0, 1.0});
}

void CGLDrawer::SetupCamera(const ViewLens& lens)
{
    CHAIN_OPERATION("CGLDrawer::SetupCamera");

    constexpr double kNear = 0.1;
    constexpr double kFar = 150.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (IsOneMonitorLens(lens))
        gluPerspective(90.0, lens.right, kNear, kFar);
    else
        glFrustum(lens.left * kNear, lens.right * kNear, lens.bottom * kNear, lens.top * kNear, kNear, kFar);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double t = m_sceneTime;
    const Vec3 eye{static_cast<float>(10.0 * std::cos(t * 0.25)),
                   static_cast<float>(10.0 * std::sin(t * 0.25)),
                   static_cast<float>(4.0 * std::sin(t * 0.5) + 5.0)};
    const Vec3 target{0.0f, 0.0f, 5.0f};
    const Vec3 up{0.0f, 0.0f, 1.0f};

    Vec3 forward;
    Vec3Sub(target, eye, forward);
    Vec3Normalize(forward);
    Vec3 right;
    Vec3Cross(forward, up, right);
    Vec3Normalize(right);
    Vec3 cameraUp;
    Vec3Cross(right, forward, cameraUp);
    Vec3Normalize(cameraUp);
    if (lens.yaw == 0.0) {
        gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, up.x, up.y, up.z);
    } else {
        // Another plane of the panorama: turned about the camera's own vertical axis, so
        // that it meets its neighbour edge to edge however the camera nods.
        const Vec3 turnedForward = Turned(forward, right, lens.yaw);
        right = Turned(right, forward, -lens.yaw);
        forward = turnedForward;
        gluLookAt(eye.x, eye.y, eye.z, eye.x + forward.x, eye.y + forward.y, eye.z + forward.z, cameraUp.x,
                  cameraUp.y, cameraUp.z);
    }

    Vec3Add(cameraUp, right, m_cornerUR);
    Vec3Copy(m_cornerUR, m_cornerLL);
    Vec3Negate(m_cornerLL);
    Vec3Sub(cameraUp, right, m_cornerUL);
    Vec3Copy(m_cornerUL, m_cornerLR);
    Vec3Negate(m_cornerLR);
    Vec3Cross(right, cameraUp, m_viewNormal);
    Vec3Normalize(m_viewNormal);
}
