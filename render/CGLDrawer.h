#pragma once
// The scene renderer: one object holding all state of the night storm. The drawing
// window owns one, calls Init() once its OpenGL context is current, then Draw() for
// every frame and presents the result. OpenGL 1.1 and GLU in immediate mode; time only
// through the clock seam and randomness only through the C runtime generator, so a
// fixed seed and a fixed clock give the same frames.
//
// Contract with the caller:
//  - construction makes no OpenGL call; Init needs the context current;
//  - Draw clears, sets its own projection and camera, and leaves every enable switch as
//    Init left it; it allocates nothing; the viewport is whatever the context has;
//  - with views set (several monitors, render/SceneViews.h) the viewport must be the
//    whole window; a frame advances the time once and draws each view in its own
//    viewport and scissor box, replaying the random ring for each, with its top-left at
//    the window's and then copied to its place (ViewPasses), so that a view shows the same
//    pixels wherever it lies; then it puts the viewport and the scissor box back; without
//    views it makes no viewport or scissor call at all;
//  - failures are exceptions that write "CGLDrawer::..." into the call chain.
#include <cstdint>
#include <vector>

#include "assets/CGLFont.h"
#include "platform/GLHeaders.h"
#include "render/GentleLight.h"
#include "render/SceneArrays.h"
#include "render/SceneViews.h"
#include "render/Vec3.h"

inline constexpr int kGlyphRowCount = 48;
inline constexpr int kGlyphRowLength = 10;

class CGLDrawer {
public:
    CGLDrawer();
    virtual ~CGLDrawer();

    // OpenGL state, textures, font, rain drops, glyph rows, one lightning and one flash step.
    void Init();
    // One frame: timing and fixed-step timers, clear, camera, scene. Always true.
    bool Draw();
    // The views of the following frames; none: the one-monitor frame.
    void SetViews(std::vector<SceneView> views);
    // A frame's time and motion without its picture: what Draw does but the drawing, so
    // that a run that skips frames stands where one that drew them does.
    void Skip();

    // The frame's steps, in the order Draw runs them. The camera sees through the
    // viewport's whole picture, or through a monitor's lens (render/SceneViews.h).
    void SetupCamera();
    void SetupCamera(const ViewLens& lens);
    void DrawGeometry();

    // Camera-facing quads with the current texture, colour and blending.
    void Sprite(const Vec3& center, float size);
    void LongSprite(const Vec3& from, const Vec3& to, float width);
    // A jagged, branching bolt; its shape comes from the random ring alone.
    void ElectricBolt(const Vec3& from, float fromWidth, const Vec3& to, float toWidth, int depth);

    // The record. Fields keep this order; the steps in render/ share them.
    double m_lastTime;
    double m_sceneTime;
    double m_frameTime;
    Vec3 m_cornerUL;
    Vec3 m_cornerUR;
    Vec3 m_cornerLR;
    Vec3 m_cornerLL;
    Vec3 m_viewNormal;
    Vec3 m_boltColor;
    CGLFont m_font;
    double m_lightningClock;
    double m_lightningDone;
    double m_lightningStep;
    double m_flashClock;
    double m_flashDone;
    double m_flashStep;
    GLuint m_texBolt;
    GLuint m_texSky;
    GLuint m_texCloud;
    GLuint m_texGround;
    GLuint m_texRain;
    std::int32_t m_randRing[kRandRingSize];
    std::int32_t m_randIndex;
    Vec3 m_branchTarget;
    BoltRecord m_bolts[kBoltCount];
    char m_glyphRows[kGlyphRowCount][kGlyphRowLength];
    double m_glyphScroll;
    std::vector<SceneView> m_views;
    // Where each bolt is drawn and lights from this frame, and whether it is seen (DrawGeometry).
    BoltShow m_boltShow[kBoltCount];
    CGentleLight m_gentleLight;
    // The ring the bolts take their shapes from this frame: m_randRing, or a gentle
    // strike's own (DrawGeometry).
    const std::int32_t* m_shapeRing;

private:
    void _LightningUpdate();
    void _FlashUpdate();
    std::int32_t _MyRand();

    // Clock reading, step limit, scene time and both timers (the first steps of Draw).
    void _AdvanceTime();
    // Each view in its viewport and scissor box (render/SceneViews.h's ViewPasses).
    void _DrawViews();
    // A view drawn at (x, y) copied, pixel for pixel, to its place in the window.
    void _CopyToPlace(int x, int y, const SceneView& view, const GLint (&window)[4]);
    // The optional layers of DrawGeometry, and their motion, once a frame after every view.
    void _DrawHieroglyphs();
    void _DrawCrosslines();
    void _DrawRain();
    void _MoveLayers();
};
