#include "framework/Framework.h"

#include "platform/RegistryProfileStore_Win32.h"

namespace {
CWinApp* g_app = nullptr;

// Before SetRegistryKey there is nowhere to keep settings: reads give the fallback.
class NoProfileStore : public IProfileStore {
public:
    std::int32_t GetProfileInt(const char*, const char*, std::int32_t fallback) override { return fallback; }
    bool WriteProfileInt(const char*, const char*, std::int32_t) override { return false; }
};

std::string ModulePath()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}
} // namespace

std::string AppNameFromModulePath(const std::string& path)
{
    const auto slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

CWinApp* GetApp()
{
    return g_app;
}

CWinApp::CWinApp(const char* appName)
    : m_pMainWnd(nullptr), m_appName(appName ? appName : AppNameFromModulePath(ModulePath()))
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::InitInstance()
{
    return false;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_profile = std::make_unique<CRegistryProfileStore>(company, m_appName);
}

IProfileStore& CWinApp::Profile()
{
    if (m_profile)
        return *m_profile;
    static NoProfileStore none;
    return none;
}

int RunApplication()
{
    CWinApp* app = GetApp();
    if (!app)
        return 1;
    int result = 0;
    try {
        if (app->InitInstance()) {
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageAndRethrow(message);
            }
            result = static_cast<int>(message.wParam);
        } else if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) {
            app->m_pMainWnd->DestroyWindow();
        }
        const int exitCode = app->ExitInstance();
        if (exitCode != 0)
            result = exitCode;
    } catch (...) {
        // Nothing of the program's is left to report to: end with a failure code.
        result = 1;
    }
    return result;
}
