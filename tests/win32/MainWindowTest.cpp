// The Windows desktop program through its own windows: the program starts and shows its main
// window; a demo session driven by control id searches, installs the first result to success,
// and ends a failed install aborted; the command line's refusals.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "MainWindowRig.h"
#include "app/UpdaterContext.h"
#include "app/win32/CInstallDlg.h"
#include "app/win32/LaunchOptions.h"
#include "resources/win32/main_ids.h"

namespace {

constexpr wchar_t kWindowTitle[] = L"Telvix.i Software Updater v4.0.0";

// The demo's catalogue is an SQLite file opened through the host's driver (under wine).
bool SqliteDriverRegistered() {
    return std::getenv("ODBCSYSINI") != nullptr;
}

std::filesystem::path ProgramPath() {
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // build/tests/test_win32.exe -> build/app/win32/telvix-updater.exe
    return std::filesystem::path(self).parent_path().parent_path() / L"app" / L"win32" /
           L"telvix-updater.exe";
}

struct FoundWindow {
    DWORD process;
    HWND window = nullptr;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<FoundWindow*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == found->process && IsWindowVisible(window) && WindowText(window) == kWindowTitle) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

int ResultCount(HWND mainWindow) {
    return ListView_GetItemCount(GetDlgItem(mainWindow, IDC_1001));
}

// WM_GETTEXT reaches a text field of another process; GetWindowTextW would not ask it.
std::wstring FieldText(HWND dialog, int id) {
    wchar_t text[256] = L"";
    SendDlgItemMessageW(dialog, id, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ResultText(HWND mainWindow, int row, int column) {
    wchar_t text[256] = L"";
    ListView_GetItemText(GetDlgItem(mainWindow, IDC_1001), row, column, text, 256);
    return text;
}

// Idle with an identified interface, Search pressed, the first result row clicked.
void SearchAndPickFirstRow(MainWindowRig& rig) {
    ASSERT_TRUE(
        rig.RunUntil([&] { return rig.Context().mainState == MS_IDLE && Enabled(rig.Main(), IDC_1006); }));
    EXPECT_FALSE(Enabled(rig.Main(), IDC_1013));
    Click(rig.Main(), IDC_1006);
    const int rows = ResultCount(rig.Main());
    ASSERT_GT(rows, 1);
    EXPECT_EQ(ItemText(rig.Main(), IDC_1007),
              std::to_wstring(rows) + L" records found for ALL makes ALL models ALL years");
    ClickResultRow(rig.Main(), 0);
    EXPECT_EQ(rig.Context().selectedRow, 0);
    EXPECT_TRUE(Enabled(rig.Main(), IDC_1013));
}

TEST(Win32Program, StartsShowsItsMainWindowAndEndsWhenItCloses) {
    if (!SqliteDriverRegistered()) {
        GTEST_SKIP() << "ODBCSYSINI names no odbcinst.ini with the SQLite driver";
    }
    std::wstring command = L"\"" + ProgramPath().wstring() + L"\" --demo";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << GetLastError();
    FoundWindow found{process.dwProcessId};
    // The real program on real timers: wait for its window, not for any protocol step.
    for (int attempt = 0; attempt < 300 && found.window == nullptr; ++attempt) {
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&found));
        if (found.window == nullptr) {
            Sleep(100);
        }
    }
    ASSERT_NE(found.window, nullptr) << "no main window appeared";
    wchar_t className[64] = L"";
    GetClassNameW(GetDlgItem(found.window, IDC_1001), className, 64);
    EXPECT_STREQ(className, L"SysListView32");
    EXPECT_EQ(ItemText(found.window, IDC_1008), L"Telvix.i USB Device Status");
    EXPECT_FALSE(FieldText(found.window, IDC_1022).empty());

    PostMessageW(found.window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(Win32MainWindow, DemoSessionSearchesAndInstallsTheFirstResult) {
    if (!SqliteDriverRegistered()) {
        GTEST_SKIP() << "ODBCSYSINI names no odbcinst.ini with the SQLite driver";
    }
    MainWindowRig rig;
    SearchAndPickFirstRow(rig);
    const std::wstring make = ResultText(rig.Main(), 0, 0);
    const std::wstring model = ResultText(rig.Main(), 0, 1);

    Click(rig.Main(), IDC_1013);
    CInstallDlg& progress = rig.window->InstallDialog();
    EXPECT_TRUE(progress.Visible());
    ASSERT_TRUE(rig.RunUntil([&] {
        return WindowText(rig.Progress()) == L"Successfully finished" ||
               ItemText(rig.Progress(), IDC_1018).rfind(L"ERROR", 0) == 0;
    }));
    EXPECT_EQ(WindowText(rig.Progress()), L"Successfully finished");
    EXPECT_EQ(ItemText(rig.Progress(), IDC_1018), L"Software has been successfully installed");
    EXPECT_EQ(SendDlgItemMessageW(rig.Progress(), IDC_1017, PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(progress.StateIcon(), IDI_CHIP_SUCCESS);
    EXPECT_EQ(ItemText(rig.Main(), IDC_1020).rfind(make + L" " + model, 0), 0u)
        << ItemText(rig.Main(), IDC_1020);
    ASSERT_TRUE(Enabled(rig.Progress(), IDOK));
    Click(rig.Progress(), IDOK);
    EXPECT_FALSE(progress.Visible());
}

TEST(Win32MainWindow, DemoSessionShowsAFailedInstallAborted) {
    if (!SqliteDriverRegistered()) {
        GTEST_SKIP() << "ODBCSYSINI names no odbcinst.ini with the SQLite driver";
    }
    MainWindowRig rig;
    SearchAndPickFirstRow(rig);
    rig.machine.SetFailFlash(true);
    Click(rig.Main(), IDC_1013);
    ASSERT_TRUE(rig.RunUntil([&] { return WindowText(rig.Progress()) == L"Aborted"; }))
        << "step: " << ItemText(rig.Progress(), IDC_1018).size();
    EXPECT_EQ(ItemText(rig.Progress(), IDC_1018), L"ERROR: Download failed");
    EXPECT_EQ(rig.window->InstallDialog().StateIcon(), IDI_CHIP_FAILURE);
    EXPECT_TRUE(Enabled(rig.Progress(), IDOK));
}

TEST(Win32CommandLine, ModelCodesAreCheckedAndGivenOnlyWithDemo) {
    struct Case {
        std::vector<std::string> arguments;
        bool accepted;
        std::string model;
    };
    const Case cases[] = {
        {{"--demo", "wj7731r"}, true, "WJ7731R"},
        {{"--demo"}, true, "QD7720R"},
        {{"--demo", "XX0000R"}, false, ""},
        {{"WJ7731R"}, false, ""},
        {{"--demo", "WJ7731R", "TN7931R"}, false, ""},
        {{"--frobnicate"}, false, ""},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
        ASSERT_EQ(parsed.options.has_value(), c.accepted) << c.arguments.back();
        if (c.accepted) {
            EXPECT_EQ(parsed.options->demoModel, c.model);
        } else {
            EXPECT_FALSE(parsed.error.empty());
        }
    }
}

}  // namespace
