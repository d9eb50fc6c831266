#include "app/win32/ScriptedSession.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "app/win32/CInstallDlg.h"
#include "app/win32/CKioDlg.h"
#include "app/win32/WindowTimers.h"
#include "platform/win32/WideText.h"
#include "resources/win32/main_ids.h"
#include "sim/demo/DemoMachine.h"

namespace {
constexpr UINT_PTR kSessionTimer = 7001;
constexpr DWORD kStepTimeoutMs = 60000;
constexpr DWORD kShotTimeoutMs = 20000;
constexpr wchar_t kAboutTitle[] = L"About Ravelle Updater";

std::wstring Text(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

// The instance of the session whose timer fires (one session per program).
ScriptedSession* activeSession = nullptr;

HWND AboutBox() {
    return FindWindowW(L"#32770", kAboutTitle);
}

RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}
}  // namespace

MessageAnswer ScriptedSession::AnsweringMessages::Show(const std::u16string& text, MessageIcon,
                                                       MessageButtons buttons) {
    std::printf("MESSAGE %s\n", ToUtf8(text).c_str());
    std::fflush(stdout);
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

ScriptedSession::ScriptedSession(CKioDlg& window, DemoMachine& machine, std::wstring outputDir)
    : window_(window), machine_(machine), outputDir_(std::move(outputDir)) {
    const HWND main = window_.Handle();
    const HWND progress = window_.InstallDialog().Handle();
    auto enabled = [main](int id) { return IsWindowEnabled(GetDlgItem(main, id)) != FALSE; };
    auto text = [main](int id) { return Text(GetDlgItem(main, id)); };
    auto bar = [progress] {
        return static_cast<int>(SendDlgItemMessageW(progress, IDC_1017, PBM_GETPOS, 0, 0));
    };
    auto click = [](HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
    auto found = [text] { return text(IDC_1007).find(L"found") != std::wstring::npos; };

    steps_ = {
        {"unplug the interface before the first connect", [] { return true; }, [this] { machine_.Unplug(); }},
        {"no interface", [this] { return After(2500); }, [this] { RequestShot("01-no-interface"); }},
        {"plug the interface", [] { return true; }, [this] { machine_.Plug(); }},
        {"connected and identified", [=] { return enabled(IDC_1006) && !text(IDC_1021).empty(); },
         [this] { RequestShot("02-connected"); }},
        {"search", [this] { return After(500); }, [=] { click(main, IDC_1006); }},
        {"pick a result", found, [this] { ClickResultRow(2); }},
        {"search results", [this] { return After(400); }, [this] { RequestShot("03-search-results"); }},
        {"install", [this] { return After(300); }, [=] { click(main, IDC_1013); }},
        {"install in progress", [=] { return bar() >= 31 && bar() < 39; },
         [this] { RequestShot("04-install-progress"); }},
        {"install finished", [=] { return Text(progress) == L"Successfully finished"; },
         [this] { RequestShot("05-install-finished"); }},
        {"close the progress dialog", [this] { return After(300); }, [=] { click(progress, IDOK); }},
        {"search again", [=, this] { return After(500) && enabled(IDC_1006); },
         [=] { click(main, IDC_1006); }},
        {"pick another result", found, [this] { ClickResultRow(5); }},
        {"install again, failing", [this] { return After(400); },
         [=, this] {
             machine_.SetFailFlash(true);
             click(main, IDC_1013);
         }},
        {"failed install", [=] { return Text(progress) == L"Aborted"; },
         [this] { RequestShot("06-install-failed"); }},
        {"close the progress dialog", [this] { return After(300); }, [=] { click(progress, IDOK); }},
        // The About box runs modally: it is opened by a posted system command, so that this
        // step returns and the session's timer goes on inside the box's own message loop.
        {"open the About box", [this] { return After(300); },
         [main] { PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUT_COMMAND, 0); }},
        {"about box", [] { return AboutBox() != nullptr && IsWindowVisible(AboutBox()); },
         [this] { RequestShot("07-about"); }},
        {"close the About box", [this] { return After(200); },
         [] { PostMessageW(AboutBox(), WM_COMMAND, IDCANCEL, 0); }},
    };
}

ScriptedSession::~ScriptedSession() {
    KillTimer(window_.Handle(), kSessionTimer);
    activeSession = nullptr;
}

void ScriptedSession::Start() {
    activeSession = this;
    stepStart_ = GetTickCount();
    SetTimer(window_.Handle(), kSessionTimer, 100, &ScriptedSession::OnTick);
}

void CALLBACK ScriptedSession::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (activeSession != nullptr) {
        activeSession->Tick();
    }
}

void ScriptedSession::Tick() {
    if (WaitingForShot()) {
        return;
    }
    if (current_ >= steps_.size()) {
        KillTimer(window_.Handle(), kSessionTimer);
        window_.CloseWithOk();
        return;
    }
    Step& step = steps_[current_];
    if (step.ready()) {
        std::printf("STEP %s\n", step.what);
        std::fflush(stdout);
        ++current_;
        stepStart_ = GetTickCount();
        step.action();
    } else if (GetTickCount() - stepStart_ > kStepTimeoutMs) {
        std::printf("TIMEOUT %s\n", step.what);
        std::fflush(stdout);
        exitCode_ = 1;
        current_ = steps_.size();
    }
}

// The windows of the moment are captured together: the main window and whichever dialog is open.
void ScriptedSession::RequestShot(const char* name) {
    RECT area{};
    GetWindowRect(window_.Handle(), &area);
    for (HWND dialog : {window_.InstallDialog().Handle(), AboutBox()}) {
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            RECT box{};
            GetWindowRect(dialog, &box);
            area = Union(area, box);
        }
    }
    pendingShot_ = outputDir_ + L"\\" + WideFromUtf8(name) + L".png";
    DeleteFileW(pendingShot_.c_str());
    // The controller holds still while the screen is captured.
    window_.Timers().Stop();
    shotStart_ = GetTickCount();
    std::printf("SHOT %s %ld %ld %ld %ld\n", name, area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    std::fflush(stdout);
}

bool ScriptedSession::WaitingForShot() {
    if (pendingShot_.empty()) {
        return false;
    }
    const bool saved = GetFileAttributesW(pendingShot_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!saved && GetTickCount() - shotStart_ < kShotTimeoutMs) {
        return true;
    }
    if (!saved) {
        std::printf("NOSHOT %s\n", Utf8FromWide(pendingShot_).c_str());
        exitCode_ = 1;
    }
    pendingShot_.clear();
    window_.Timers().Restart();
    stepStart_ = GetTickCount();
    return false;
}

// As a click on the row does: the row is selected and the list tells the window.
void ScriptedSession::ClickResultRow(int row) {
    const HWND list = GetDlgItem(window_.Handle(), IDC_1001);
    row = std::min(row, ListView_GetItemCount(list) - 1);
    if (row < 0) {
        return;
    }
    SetFocus(list);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_1001;
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageW(window_.Handle(), WM_NOTIFY, IDC_1001, reinterpret_cast<LPARAM>(&click));
}
