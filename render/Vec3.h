#pragma once
// The renderer's one vector type: three floats, laid out as glVertex3fv and glColor3fv
// expect, so a Vec3 goes to OpenGL as it is. It also serves as a red, green, blue colour.
// The free functions compute in double and store floats; vector results go to the last
// argument, which may be an input too for Add, Sub and Scale (never for Cross).

struct Vec3 {
    float x;
    float y;
    float z;
};

static_assert(sizeof(Vec3) == 3 * sizeof(float), "Vec3 must stay three packed floats");

void Vec3Copy(const Vec3& source, Vec3& destination);
void Vec3Add(const Vec3& a, const Vec3& b, Vec3& out);
void Vec3Sub(const Vec3& a, const Vec3& b, Vec3& out);
void Vec3Scale(const Vec3& a, float s, Vec3& out);
void Vec3Cross(const Vec3& a, const Vec3& b, Vec3& out);
// Negates v in place and returns it.
Vec3& Vec3Negate(Vec3& v);
double Vec3Length(const Vec3& v);
// Length of b - a.
double Vec3Distance(const Vec3& a, const Vec3& b);
// Divides v by its length and returns the length; a zero vector stays as it is.
double Vec3Normalize(Vec3& v);
