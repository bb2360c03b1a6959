#pragma once
// The program's small Win32 application and window framework.
//
// Contract
//  - One application object (a CWinApp subclass, one global instance) exists per
//    process. RunApplication() calls its InitInstance(); false there means "no message
//    loop of the framework's own": the framework destroys a main window that still
//    exists, calls ExitInstance() and the process ends with its result.
//  - m_pMainWnd names the window of the current run mode. When that window gets its
//    last message (WM_NCDESTROY) the framework posts the quit message (exit code 0)
//    and clears the reference; destroying a CWnd object that is still the main
//    window clears it too.
//  - A CWnd is bound to its HWND from the first message of the window's life until
//    WM_NCDESTROY. Windows of the framework's classes are bound as they are created
//    (the object is parked for the thread during CreateWindowExA); a window the system
//    makes itself, such as a dialog, is taken over before its first message by
//    TakeOverWindow(), and its own procedure stands in for the default one. Both kinds
//    go through the one framework window procedure and the one end of life below.
//  - Messages reach WindowProc(), which calls the named handler (OnCreate, OnPaint,
//    OnMouseMove, ...); a handler that is not overridden, and every message without a
//    handler, gets the default window procedure. Default() gives a handler the default
//    processing of the message it is handling.
//  - End of life: at WM_NCDESTROY the object is unbound (and the main-window rule above
//    applies); PostNcDestroy() runs once after that, when the outermost handler on the
//    object returns, so no handler frame ever runs on a deleted object. An object that
//    deletes itself does so there.
//  - CreateEx() returns false when the system refused the window; PostNcDestroy() has
//    then run exactly once, so an object that deletes itself is gone and the caller
//    must not touch it.
//  - Exceptions never leave a window procedure: whatever a handler or PostNcDestroy()
//    throws is caught there and kept (the first one wins), WM_NCCREATE/WM_CREATE then
//    refuse the window, any other message calls OnHandlerFailed(), and the exception
//    is thrown again in the program's own code right after CreateEx(), DestroyWindow()
//    or DispatchMessageAndRethrow() returns. Code that calls other Win32 functions that
//    send messages calls RethrowCallbackException().
//  - Profile: integers under HKCU\Software\<registry key>\<application name>\<section>,
//    the application name being the executable's file name without directory and
//    extension (platform/RegistryProfileStore_Win32.h has the value rules).
//  - Everything runs on the thread that runs RunApplication().
#include "platform/WindowsHeaders_Win32.h"

#include <exception>
#include <memory>
#include <string>

#include "platform/ProfileStore.h"

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The bound window, or null before creation and after WM_NCDESTROY.
    HWND m_hWnd;

    // A null className uses the framework's plain class (double clicks, redraw on
    // resize, arrow cursor, no brush, no icon).
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menuOrId, void* param = nullptr);
    // DestroyWindow on the bound window; false when there is none or the system refused.
    bool DestroyWindow();

    // The object bound to window, or null.
    static CWnd* FromHandle(HWND window);

    // Registers (once per combination) a class with the framework's window procedure
    // and returns its name, which stays valid for the process.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Binds the object to a window that exists already and sends its messages through
    // the framework; the window's own procedure becomes the default one.
    void TakeOverWindow(HWND window);
    // A handler failed on a message other than WM_NCCREATE and WM_CREATE; the
    // exception is kept. A window whose message loop is not the program's own ends it here.
    virtual void OnHandlerFailed();

    // The default window procedure for the message now being handled.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // After the window's last message; the object is no longer bound.
    virtual void PostNcDestroy();

    // Handlers; each one not overridden does Default().
    virtual int OnCreate(CREATESTRUCTA* create);
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual void OnSysCommand(UINT command, LPARAM extra);
    virtual BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    virtual BOOL OnNcActivate(BOOL active);
    virtual void OnActivate(UINT state, HWND other, BOOL minimized);
    virtual void OnActivateApp(BOOL active, DWORD otherThread);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    virtual void OnMButtonDown(UINT flags, POINT point);
    virtual void OnRButtonDown(UINT flags, POINT point);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnDisplayChange(UINT bitsPerPixel, int width, int height);

private:
    friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND window);
    void Detach();
    void FinishNcDestroy();
    void RunPostNcDestroy();

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current;
    // The window's own procedure when the object took the window over, else null.
    WNDPROC m_superProc;
    // Set while CreateEx waits for the system, so that it learns whether the window
    // already went through its last message (the object may be gone by then).
    bool* m_finishedDuringCreate;
    // Window procedure calls of this object now on the stack; PostNcDestroy waits
    // until the outermost one returns, so no frame runs on a deleted object.
    int m_procDepth;
    bool m_postNcDestroyDue;
};

class CRegistryProfileStore;

class CWinApp {
public:
    // appName null: the executable's file name without directory and extension.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool InitInstance();
    virtual int ExitInstance();

    CWnd* m_pMainWnd;

    // Where the profile lives: HKCU\Software\<company>\<application name>.
    void SetRegistryKey(const char* company);
    IProfileStore& Profile();

private:
    std::string m_appName;
    std::unique_ptr<CRegistryProfileStore> m_profile;
};

// The one application object, or null.
CWinApp* GetApp();

// The framework's start: InitInstance, then the end described in the contract.
int RunApplication();

// The executable's file name without directory and extension ("C:\x\A.b.scr" -> "A.b").
std::string AppNameFromModulePath(const std::string& path);

// DispatchMessageA, then any exception a handler threw during it.
LRESULT DispatchMessageAndRethrow(const MSG& message);
// Keeps exception to be thrown after the callback returns; the first one kept wins.
void KeepCallbackException(std::exception_ptr exception);
// Throws the exception kept from a callback, if any, and forgets it.
void RethrowCallbackException();
// True when a callback exception is waiting to be thrown.
bool HasCallbackException();
