#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/IconDialog.h"
#include "foundation/WindowMap.h"
#include "tests/support/TestApp.h"

// A framework object whose handlers the test supplies: a message with a handler
// goes to it, every other message to the base class, as in the program's own
// classes. Every message the object sees is recorded.
template <class Base>
class TScripted : public Base {
public:
    using Base::Base;
    using Handler = std::function<LRESULT(HWND hwnd, WPARAM wParam, LPARAM lParam)>;

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(msg);
        auto handler = on.find(msg);
        if (handler != on.end())
            return handler->second(hwnd, wParam, lParam);
        return Base::WindowProc(hwnd, msg, wParam, lParam);
    }

    LRESULT BaseProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return Base::WindowProc(hwnd, msg, wParam, lParam);
    }

    std::map<UINT, Handler> on;
    std::vector<UINT> seen;
};

using CScriptedWindow = TScripted<CWindowBase>;
using CScriptedDialog = TScripted<CDialogBase>;
using CScriptedIconDialog = TScripted<CIconDialog>;

// A control's object that answers the notifications reflected to it.
class CNotifyTarget : public CWindowBase {
public:
    CNotifyTarget(BOOL accept, LRESULT answer) : m_bAccept(accept), m_nAnswer(answer) {}

    BOOL OnReflectedNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    BOOL m_bAccept;
    LRESULT m_nAnswer;
    int m_nCalls = 0;
    MSG m_seen = {};
};

// What a notification gets from the window procedure of the plain class.
const LRESULT kPlainNotifyResult = 77;

// The class registered through the framework, for CWindowBase::Create.
const char* FrameworkWindowClass();
// A top-level window of that class bound to the object.
BOOL CreateProbe(CWindowBase& window);
// A class outside the framework, answering WM_NOTIFY with kPlainNotifyResult.
const char* PlainWindowClass();
HWND CreatePlainWindow(const RECT& rect);
// A static control: a child of parent, or a top-level window without one.
HWND CreateStatic(HWND parent);

// Removes a pending quit message; true with its code when there was one.
bool TakeQuitMessage(WPARAM* code);

// Sends parent the WM_NOTIFY of a new child control, bound to target first unless that is null; a bound target
// must see the notification once, as sent.
LRESULT SendNotify(HWND parent, CNotifyTarget* target);

// Runs action after the base handling of WM_INITDIALOG, as the program's dialogs do.
template <class Dialog> void AtInit(Dialog& dialog, std::function<void(HWND)> action)
{
    dialog.on[WM_INITDIALOG] = [&dialog, action](HWND hwnd, WPARAM wParam, LPARAM lParam) {
        dialog.BaseProc(hwnd, WM_INITDIALOG, wParam, lParam);
        action(hwnd);
        return FALSE;
    };
}

inline void PostOk(HWND hwnd)
{
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
}

class FrameworkTest : public testing::Test {
protected:
    void SetUp() override { UseTestApplication(); }
};
