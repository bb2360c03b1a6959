#include "tools/render/FragmentCounter.h"

#include <EGL/egl.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace {

// The query's entry points, looked up once a context is current: the tool links only
// OpenGL 1.x by name.
struct QueryEntries {
    PFNGLGETSTRINGIPROC getStringi = nullptr;
    PFNGLGENQUERIESPROC genQueries = nullptr;
    PFNGLDELETEQUERIESPROC deleteQueries = nullptr;
    PFNGLBEGINQUERYPROC beginQuery = nullptr;
    PFNGLENDQUERYPROC endQuery = nullptr;
    PFNGLGETQUERYOBJECTUI64VPROC getQueryObjectui64v = nullptr;
};
QueryEntries g_gl;

template <typename Entry>
void Look(Entry& entry, const char* name)
{
    entry = reinterpret_cast<Entry>(eglGetProcAddress(name));
}

bool DriverHasExtension(const char* name)
{
    if (g_gl.getStringi == nullptr)
        return false;
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const GLubyte* extension = g_gl.getStringi(GL_EXTENSIONS, static_cast<GLuint>(i));
        if (extension != nullptr && std::strcmp(reinterpret_cast<const char*>(extension), name) == 0)
            return true;
    }
    return false;
}

} // namespace

FragmentCounter::FragmentCounter()
{
    Look(g_gl.getStringi, "glGetStringi");
    Look(g_gl.genQueries, "glGenQueries");
    Look(g_gl.deleteQueries, "glDeleteQueries");
    Look(g_gl.beginQuery, "glBeginQuery");
    Look(g_gl.endQuery, "glEndQuery");
    Look(g_gl.getQueryObjectui64v, "glGetQueryObjectui64v");
    const bool complete = g_gl.genQueries && g_gl.deleteQueries && g_gl.beginQuery && g_gl.endQuery &&
                          g_gl.getQueryObjectui64v;
    if (complete && DriverHasExtension("GL_ARB_pipeline_statistics_query")) {
        GLuint query = 0;
        g_gl.genQueries(1, &query);
        m_query = query;
    }
}

FragmentCounter::~FragmentCounter()
{
    if (m_query != 0)
        g_gl.deleteQueries(1, &m_query);
}

void FragmentCounter::Begin()
{
    if (m_query != 0)
        g_gl.beginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, m_query);
}

void FragmentCounter::End()
{
    if (m_query == 0)
        return;
    g_gl.endQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    GLuint64 count = 0;
    g_gl.getQueryObjectui64v(m_query, GL_QUERY_RESULT, &count);
    m_total += count;
}
