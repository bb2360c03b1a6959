// Camera-facing quads and the recursive lightning bolt.
#include "render/CGLDrawer.h"

#include "app/CallChain.h"
#include "render/SceneArrays.h"

namespace {

// Below this length a piece is drawn as one strip; the depth limit bounds the recursion
// whatever the random values.
constexpr float kFinalPieceLength = 0.5f;
constexpr int kMaxBoltDepth = 30;

Vec3 Offset(const Vec3& origin, const Vec3& axis, float scale)
{
    Vec3 scaled;
    Vec3Scale(axis, scale, scaled);
    Vec3 result;
    Vec3Add(origin, scaled, result);
    return result;
}

// One textured quad; the corners take the picture's corners (1,1), (0,1), (0,0), (1,0).
void TexturedQuad(const Vec3& first, const Vec3& second, const Vec3& third, const Vec3& fourth)
{
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3fv(&first.x);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3fv(&second.x);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3fv(&third.x);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3fv(&fourth.x);
    glEnd();
}

} // namespace

// Sprite, LongSprite and _MyRand call nothing that can fail, so no failure ever passes
// through them and they carry no chain entry: they run thousands of times a frame.
void CGLDrawer::Sprite(const Vec3& center, float size)
{
    const Vec3 ll = Offset(center, m_cornerLL, size);
    const Vec3 lr = Offset(center, m_cornerLR, size);
    const Vec3 ur = Offset(center, m_cornerUR, size);
    const Vec3 ul = Offset(center, m_cornerUL, size);
    TexturedQuad(ll, lr, ur, ul);
}

void CGLDrawer::LongSprite(const Vec3& from, const Vec3& to, float width)
{
    Vec3 along;
    Vec3Sub(to, from, along);
    Vec3Normalize(along);
    Vec3Scale(along, width, along);

    Vec3 a;
    Vec3Sub(from, along, a);
    Vec3 b;
    Vec3Add(to, along, b);

    Vec3 across;
    Vec3Cross(m_viewNormal, along, across);
    Vec3Normalize(across);
    Vec3Scale(across, width, across);

    Vec3 aLeft, aRight, bRight, bLeft;
    Vec3Add(a, across, aLeft);
    Vec3Sub(a, across, aRight);
    Vec3Sub(b, across, bRight);
    Vec3Add(b, across, bLeft);
    TexturedQuad(aLeft, aRight, bRight, bLeft);
}

void CGLDrawer::ElectricBolt(const Vec3& from, float fromWidth, const Vec3& to, float toWidth, int depth)
{
    CHAIN_OPERATION("CGLDrawer::ElectricBolt");

    const float length = static_cast<float>(Vec3Distance(from, to));
    if (length < kFinalPieceLength || depth > kMaxBoltDepth) {
        if (g_boltVisible != 0)
            LongSprite(from, to, fromWidth);
        return;
    }

    Vec3 mid;
    Vec3Add(from, to, mid);
    Vec3Scale(mid, 0.5f, mid);

    Vec3 offset;
    offset.x = static_cast<float>(_MyRand() % 100 - 50);
    offset.y = static_cast<float>(_MyRand() % 100 - 50);
    offset.z = static_cast<float>(_MyRand() % 100 - 50);
    const double offsetLength = Vec3Length(offset);
    Vec3Scale(offset, static_cast<float>(length * 0.005), offset);
    Vec3Add(mid, offset, mid);

    const float midWidth = static_cast<float>((static_cast<double>(fromWidth) + toWidth) * 0.5);

    // Sharp bends glow in the bolt's colour.
    if (offsetLength > 50.0) {
        glColor3fv(&m_boltColor.x);
        if (g_boltVisible != 0)
            Sprite(mid, midWidth * 10);
        glColor3d(0.5, 0.5, 0.5);
    }

    if (length > 1.0f) {
        const std::int32_t branchDraw = _MyRand();
        if ((branchDraw & 255) > 250) {
            Vec3 target = m_branchTarget;
            target.x = static_cast<float>(target.x + static_cast<double>((_MyRand() & 8) - 4));
            target.y = static_cast<float>(target.y + static_cast<double>((_MyRand() & 8) - 4));
            float branchWidth = fromWidth * 0.5f;
            if (branchWidth < 0.05f)
                branchWidth = 0.05f;
            ElectricBolt(mid, midWidth, target, branchWidth, depth + 1);
        }
    }

    ElectricBolt(mid, midWidth, to, toWidth, depth + 1);
    ElectricBolt(from, fromWidth, mid, midWidth, depth + 1);
}
