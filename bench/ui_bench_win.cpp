// Watches and drives Scheduler.exe from outside, through its real windows, as a user would:
//
//   ui_bench floor                    one static empty window, the floor of the start figures
//   ui_bench latency ROUNDS COUNT...  start, Add, About and Add confirmed at each schedule count,
//                                     beside the floor's start; exits 1 when a target is missed
//   ui_bench soak END_EPOCH EXPECTED SAMPLES
//                                     the user's commands in a loop until END_EPOCH (seconds);
//                                     Run Schedule's starts go to EXPECTED, the program's GDI,
//                                     USER and handle counts and memory to SAMPLES each minute
//
// Both measuring modes run in the current folder, which holds Scheduler.exe, the companion
// stub as dovsuite.exe and (soak) the Scheduler.cfg to use. Run them inside a Wine desktop.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

constexpr const char* kFloorTitle = "UI bench floor";
constexpr const char* kMainTitle = "Dovrin Suite Scheduler";
constexpr int kWaitMs = 20000;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart * 1000.0 / frequency.QuadPart;
}

long long EpochMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The program under test: ended when the driver gives up, or the desktop would stay.
HANDLE running = nullptr;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "ui_bench: %s\n", what.c_str());
    if (running != nullptr) {
        TerminateProcess(running, 99);
    }
    std::exit(2);
}

// The file the program saves to once the list changed; it would be loaded at the next start
// instead of the one in the program's folder.
void RemoveSavedSchedules() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
    DeleteFileA((std::string(folder) + "\\Dovrin Suite\\Scheduler.cfg").c_str());
}

// Polls every millisecond; false when the wait ran out.
bool WaitFor(const std::function<bool()>& condition, int ms = kWaitMs) {
    double end = NowMs() + ms;
    while (!condition()) {
        if (NowMs() > end) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

void Must(const char* step, const std::function<bool()>& condition) {
    if (!WaitFor(condition)) {
        Fail(std::string(step) + ": no answer within 20 s");
    }
}

// The window's thread has handled everything sent before: it is back in its message loop.
bool Settled(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored) != 0;
}

// A visible, enabled top-level window of the process with the class and caption.
HWND FindTop(DWORD pid, const char* className, const char* caption) {
    struct Search {
        DWORD pid;
        const char* className;
        const char* caption;
        HWND found;
    } search{pid, className, caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[64] = {}, text[128] = {};
            GetClassNameA(window, name, sizeof(name));
            GetWindowTextA(window, text, sizeof(text));
            if (owner == s->pid && IsWindowVisible(window) && IsWindowEnabled(window) &&
                std::string(name) == s->className &&
                (s->caption == nullptr || std::string(text) == s->caption)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialog(DWORD pid, const char* caption) {
    return FindTop(pid, "#32770", caption);
}

class Program {
public:
    explicit Program(std::string line) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info_)) {
            Fail("cannot start " + line);
        }
        CloseHandle(info_.hThread);
        running = info_.hProcess;
    }
    ~Program() {
        running = nullptr;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
        }
        CloseHandle(info_.hProcess);
    }
    DWORD Pid() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }
    bool Ended(int ms) const { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION info_{};
};

// Scheduler.exe with its windows: the frame takes the menu commands, the view the tray's.
struct Scheduler {
    Program program{"Scheduler.exe"};
    HWND frame = nullptr;
    HWND view = nullptr;
    HWND list = nullptr;
    HWND bar = nullptr;  // the toolbar's dockable bar

    // The start figure: from CreateProcess to the main window shown with its list.
    void WaitShown() {
        Must("main window", [&] {
            frame = FindWindowExA(nullptr, nullptr, nullptr, kMainTitle);
            DWORD pid = 0;
            GetWindowThreadProcessId(frame, &pid);
            return frame != nullptr && pid == program.Pid() && IsWindowVisible(frame);
        });
        Settled(frame);
        view = FindWindowExA(frame, nullptr, MAKEINTATOM(32770), nullptr);
        list = GetDlgItem(view, IDC_SCHEDULE_LIST);
        bar = FindWindowExA(frame, nullptr, "SchedulerDockBar", nullptr);
        if (list == nullptr || bar == nullptr) {
            Fail("the main window holds no list or no toolbar");
        }
    }
    void Command(int id) const { PostMessageA(frame, WM_COMMAND, id, 0); }
    int Rows() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
    // The list holds `rows` rows and has drawn them.
    bool ShowsRows(int rows) const {
        return Rows() == rows && Settled(frame) && !GetUpdateRect(list, nullptr, FALSE);
    }
    HWND WaitDialog(const char* caption) const {
        HWND dialog = nullptr;
        Must(caption, [&] {
            dialog = FindDialog(program.Pid(), caption);
            return dialog != nullptr;
        });
        Settled(dialog);
        return dialog;
    }
    // Presses a dialog's button and waits for the dialog to go.
    void Press(HWND dialog, int button) const {
        PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        Must("closing a dialog", [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
        Settled(frame);
    }
    void Shutdown() {
        Command(ID_APP_SHUTDOWN);
        if (!program.Ended(kWaitMs)) {
            Fail("the scheduler did not end on Shutdown");
        }
    }
};

// Opens the editor on Add, fills it in and confirms it. A schedule that is switched off never
// falls due, so the benchmark and the soak start nothing they did not ask for.
void AddSwitchedOff(const Scheduler& s, const std::string& title, const std::string& file) {
    HWND editor = s.WaitDialog("Schedule");
    SendDlgItemMessageA(editor, IDC_EDITOR_TITLE, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(title.c_str()));
    SendDlgItemMessageA(editor, IDC_EDITOR_FILE, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(file.c_str()));
    SendDlgItemMessageA(editor, IDC_EDITOR_ENABLE, BM_CLICK, 0, 0);
    if (SendDlgItemMessageA(editor, IDC_EDITOR_ENABLE, BM_GETCHECK, 0, 0) != BST_UNCHECKED) {
        Fail("the editor's Enable box stayed checked");
    }
    PostMessageA(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
}

// ---- floor

int Floor() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return DefWindowProcA(window, message, w, l);
    };
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "UiBenchFloor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("UiBenchFloor", kFloorTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 320, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

// ---- latency

// COUNT schedules that never fall due (Once, next year), as the program writes them.
void WriteSchedules(int count) {
    std::time_t now = std::time(nullptr);
    int nextYear = std::localtime(&now)->tm_year + 1901;
    std::string text = "/** UI benchmark **/\r\n\r\nFormatVersion=1.0\r\n";
    char section[256];
    for (int i = 0; i < count; ++i) {
        std::snprintf(section, sizeof(section),
                      "\r\n[Schedule]\r\ntitle=\"Schedule %d\"\r\nfile=\"C:\\\\Work\\\\%d.dvp\"\r\n"
                      "type=0\r\nday=%d\r\nmonth=%d\r\nyear=%d\r\nhour=9\r\nmin=30\r\nsec=0",
                      i, i, 1 + i % 28, 1 + i % 12, nextYear);
        text += section;
    }
    text += "\r\n";
    FILE* file = std::fopen("Scheduler.cfg", "wb");
    if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
        std::fclose(file) != 0) {
        Fail("cannot write Scheduler.cfg");
    }
}

struct Figures {
    std::vector<double> samples;
    double Median() const {
        std::vector<double> s = samples;
        std::sort(s.begin(), s.end());
        return s.empty() ? 0 : s[s.size() / 2];
    }
    void Print(const char* name, int count, const std::string& target) const {
        std::printf("%-24s %6d  %7.0f %7.0f %7.0f  %s\n", name, count,
                    *std::min_element(samples.begin(), samples.end()), Median(),
                    *std::max_element(samples.begin(), samples.end()), target.c_str());
    }
};

double FloorStart() {
    double start = NowMs();
    Program floor("ui_bench.exe floor");
    HWND window = nullptr;
    Must("floor window", [&] {
        window = FindTop(floor.Pid(), "UiBenchFloor", kFloorTitle);
        return window != nullptr;
    });
    Settled(window);
    double took = NowMs() - start;
    PostMessageA(window, WM_CLOSE, 0, 0);
    floor.Ended(kWaitMs);
    return took;
}

struct CountFigures {
    int count;
    Figures start, editor, about, added;
};

void MeasureRound(CountFigures& f) {
    RemoveSavedSchedules();
    WriteSchedules(f.count);
    double t = NowMs();
    Scheduler s;
    s.WaitShown();
    f.start.samples.push_back(NowMs() - t);

    t = NowMs();
    s.Command(ID_SCHEDULE_ADD);
    HWND editor = s.WaitDialog("Schedule");
    f.editor.samples.push_back(NowMs() - t);
    s.Press(editor, IDCANCEL);

    t = NowMs();
    s.Command(ID_SHOW_ABOUT);
    HWND about = s.WaitDialog("About...");
    f.about.samples.push_back(NowMs() - t);
    s.Press(about, IDOK);

    s.Command(ID_SCHEDULE_ADD);
    AddSwitchedOff(s, "Added", "C:\\Work\\added.dvp");
    t = NowMs();
    Must("the added row", [&] { return s.ShowsRows(f.count + 1); });
    f.added.samples.push_back(NowMs() - t);
    s.Shutdown();
}

int Latency(int rounds, const std::vector<int>& counts) {
    Figures floor;
    std::vector<CountFigures> figures;
    for (int count : counts) {
        figures.push_back(CountFigures{count, {}, {}, {}, {}});
    }
    for (int round = 0; round < rounds; ++round) {
        floor.samples.push_back(FloorStart());
        for (CountFigures& f : figures) {
            MeasureRound(f);
        }
    }
    RemoveSavedSchedules();
    double base = floor.Median();
    bool missed = false;
    auto target = [&](const Figures& figure, double limit, const char* text) {
        bool met = figure.Median() <= limit * base;
        missed = missed || !met;
        return std::string(text) + (met ? " met" : " MISSED");
    };
    std::printf("%d rounds, milliseconds            min  median     max\n", rounds);
    floor.Print("floor: start to window", 0, "");
    for (const CountFigures& f : figures) {
        // The targets name 1,000 and 10,000 schedules; editor and About hold at every count.
        std::string start = f.count == 1000    ? target(f.start, 1.6, "<= 1.6x floor")
                            : f.count == 10000 ? target(f.start, 3.0, "<= 3x floor")
                                               : "";
        f.start.Print("start to window", f.count, start);
        f.editor.Print("Add to editor", f.count, target(f.editor, 1.0, "< floor"));
        f.about.Print("About to box", f.count, target(f.about, 1.0, "< floor"));
        f.added.Print("Add confirmed to row", f.count,
                      f.count == 10000 ? target(f.added, 2.0, "<= 2x floor") : "");
    }
    std::printf(missed ? "FAILED\n" : "passed\n");
    return missed ? 1 : 0;
}

// ---- soak

// What a process holds, for the soak. GetGuiResources and GetProcessHandleCount answer on
// Windows; Wine answers 0, so there the counts are read where Wine keeps them: the GDI handle
// table the process's PEB points to, the process's windows (its USER objects that can be seen
// from outside) and the system's handle list.
//
// Two things there grow by themselves, up to a bound, at moments no driver can choose, and
// are not the program's to free; the soak counts them apart:
// - Wine's cache of window DCs, which on Windows is the system's: it keeps the DCs of windows
//   painted before, idle (their DC_ATTR marked disabled), until it holds 64, each with its
//   visible region and surface;
// - the event a std::mutex makes the first time two threads meet at it (winpthreads), kept
//   for the mutex's life: one each for the two locks the window and the polling thread share
//   (the schedule list, the start journal).
struct GdiEntry {  // one slot of the GDI handle table
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user;  // the DC_ATTR of a DC: its handle, then its disabled flag
};
constexpr int kGdiSlots = 0x10000;
constexpr size_t kPebGdiTable = 0xF8;  // PEB.GdiSharedHandleTable on x64
constexpr UCHAR kGdiDc = 1;
constexpr DWORD kCachedDcObjects = 3;  // the DC, its region and its surface

struct GdiCount {
    DWORD objects = 0;    // all of the process's GDI objects
    DWORD idleDcs = 0;    // idle DCs of Wine's cache
    DWORD InUse() const { return objects - kCachedDcObjects * idleDcs; }
};

GdiCount GdiTableCount(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    UINT64 table = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic),
                                  nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + kPebGdiTable,
                           &table, sizeof(table), nullptr) ||
        table == 0) {
        return {};
    }
    std::vector<GdiEntry> slots(kGdiSlots);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), slots.data(),
                           slots.size() * sizeof(GdiEntry), nullptr)) {
        return {};
    }
    GdiCount count;
    for (const GdiEntry& e : slots) {
        count.objects += e.type != 0;
        LONG attr[2] = {};
        count.idleDcs += e.type == kGdiDc && e.user != 0 &&
                         ReadProcessMemory(process, reinterpret_cast<void*>(e.user), attr,
                                           sizeof(attr), nullptr) &&
                         attr[1] != 0;
    }
    return count;
}

DWORD WindowCount(DWORD pid) {
    struct Count {
        DWORD pid;
        DWORD windows;
    } count{pid, 0};
    WNDENUMPROC each = [](HWND window, LPARAM param) -> BOOL {
        auto* c = reinterpret_cast<Count*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        c->windows += owner == c->pid;
        return TRUE;
    };
    std::vector<HWND> tops;
    for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
        tops.push_back(top);
    }
    for (HWND only = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); only != nullptr;
         only = FindWindowExA(HWND_MESSAGE, only, nullptr, nullptr)) {
        tops.push_back(only);
    }
    for (HWND top : tops) {
        each(top, reinterpret_cast<LPARAM>(&count));
        EnumChildWindows(top, each, reinterpret_cast<LPARAM>(&count));
    }
    return count.windows;
}

struct HandleCount {
    DWORD handles = 0;  // all of the process's handles
    DWORD events = 0;
};

// The type name of a handle of `process`, through a copy of it.
std::wstring HandleType(HANDLE process, USHORT handle) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle)),
                         GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return L"";
    }
    alignas(8) char info[512] = {};
    std::wstring name;
    if (NtQueryObject(copy, ObjectTypeInformation, info, sizeof(info), nullptr) == 0) {
        const auto* type = reinterpret_cast<const UNICODE_STRING*>(info);
        name.assign(type->Buffer, type->Length / sizeof(wchar_t));
    }
    CloseHandle(copy);
    return name;
}

HandleCount SystemHandleCount(HANDLE process, DWORD pid) {
    struct Entry {
        USHORT process;
        USHORT backTrace;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        void* object;
        ULONG access;
    };
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    while (NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                    static_cast<ULONG>(buffer.size()), &needed) != 0) {
        if (buffer.size() >= (64u << 20)) {
            return {};
        }
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    }
    ULONG total = *reinterpret_cast<ULONG*>(buffer.data());
    auto* entries = reinterpret_cast<Entry*>(buffer.data() + sizeof(void*));
    static int eventType = -1;  // the list's number for events, learnt from the first one named
    HandleCount count;
    for (const Entry* e = entries; e != entries + total; ++e) {
        if (e->process != static_cast<USHORT>(pid)) {
            continue;
        }
        ++count.handles;
        if (eventType < 0 && HandleType(process, e->handle) == L"Event") {
            eventType = e->objectType;
        }
        count.events += e->objectType == eventType;
    }
    return count;
}

// One line for the program: seconds into the run, GDI objects in use, USER objects, handles
// apart from events, private memory (KiB), events, idle DCs of Wine's cache, the program's own
// heap (KiB; -1 unless it is the counting build). Each count is the
// least of a few readings: a started companion's handle, say, is held only for a moment.
void Sample(const Program& program, long long since, FILE* out) {
    HANDLE process = program.Process();
    DWORD gdi = MAXDWORD, user = MAXDWORD, handles = MAXDWORD, events = MAXDWORD,
          idle = MAXDWORD;
    for (int reading = 0; reading < 5; ++reading, Sleep(200)) {
        DWORD count = 0;
        GetProcessHandleCount(process, &count);
        HandleCount listed = count != 0 ? HandleCount{count, 0}
                                        : SystemHandleCount(process, program.Pid());
        handles = std::min(handles, listed.handles - listed.events);
        events = std::min(events, listed.events);
        count = GetGuiResources(process, GR_GDIOBJECTS);
        GdiCount table = count != 0 ? GdiCount{count, 0} : GdiTableCount(process);
        gdi = std::min(gdi, table.InUse());
        idle = std::min(idle, table.idleDcs);
        count = GetGuiResources(process, GR_USEROBJECTS);
        user = std::min(user, count != 0 ? count : WindowCount(program.Pid()));
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    // The counting build's own heap (see heap_count_win.cpp), or -1.
    long long heap = -1;
    std::string name = "Local\\SchedulerHeap-" + std::to_string(program.Pid());
    if (HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str())) {
        if (auto* view = static_cast<const LONG64*>(
                MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(LONG64)))) {
            heap = *view / 1024;
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    std::fprintf(out, "%lld %lu %lu %lu %llu %lu %lu %lld\n", (EpochMs() - since) / 1000, gdi,
                 user, handles, static_cast<unsigned long long>(memory.PagefileUsage / 1024),
                 events, idle, heap);
    std::fflush(out);
}

// Waits for a popup menu of the program, then closes it with a key.
void AnswerMenu(const Scheduler& s, WPARAM key) {
    HWND menu = nullptr;
    Must("popup menu", [&] {
        menu = FindTop(s.program.Pid(), "#32768", nullptr);
        return menu != nullptr;
    });
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    if (key != VK_ESCAPE) {
        PostMessageA(menu, WM_CHAR, std::tolower(static_cast<int>(key)), 0);
    }
    Must("closing the popup menu", [&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
    Settled(s.frame);
}

// The toolbar moved as a user drags its gripper: pressed on the gripper, moved to a point of
// the frame's client area (with Ctrl: to float there), released; waits for the bar to dock
// along `side` ('L' left, 'T' top) or, for 'F', to float.
void DragToolbar(const Scheduler& s, POINT target, char side) {
    HWND bar = s.bar;
    WPARAM keys = side == 'F' ? MK_CONTROL : 0;
    MapWindowPoints(s.frame, bar, &target, 1);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON | keys,
                 MAKELPARAM(static_cast<WORD>(target.x), static_cast<WORD>(target.y)));
    PostMessageA(bar, WM_LBUTTONUP, keys,
                 MAKELPARAM(static_cast<WORD>(target.x), static_cast<WORD>(target.y)));
    Must("moving the toolbar", [&] {
        RECT r{};
        GetWindowRect(bar, &r);
        MapWindowPoints(nullptr, s.frame, reinterpret_cast<POINT*>(&r), 2);
        bool docked = GetAncestor(bar, GA_PARENT) == s.frame;
        switch (side) {
            case 'L':
                return docked && r.left == 0 && r.bottom - r.top > r.right - r.left;
            case 'T':
                return docked && r.top == 0 && r.right - r.left > r.bottom - r.top;
            default:
                return !docked;
        }
    });
    Settled(s.frame);
}

// Selects the last row as the End key does.
void SelectLast(const Scheduler& s) {
    PostMessageA(s.list, WM_KEYDOWN, VK_END, 0);
    PostMessageA(s.list, WM_KEYUP, VK_END, 0);
    Must("selecting the last row", [&] {
        return SendMessageA(s.list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == s.Rows() - 1;
    });
    Settled(s.frame);
}

// The list's context menu, by a right click on its first row, closed with Esc.
void ContextMenu(const Scheduler& s) {
    RECT header{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(s.list, LVM_GETHEADER, 0, 0)), &header);
    LPARAM at = MAKELPARAM(40, header.bottom - header.top + 4);
    PostMessageA(s.list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(s.list, WM_RBUTTONUP, 0, at);
    AnswerMenu(s, VK_ESCAPE);
}

// Hidden to the tray by closing the window, shown again by the tray menu's Open.
void ToTrayAndBack(const Scheduler& s) {
    PostMessageA(s.frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    Must("hiding to the tray", [&] { return !IsWindowVisible(s.frame); });
    PostMessageA(s.view, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
    AnswerMenu(s, 'O');
    Must("showing again", [&] { return IsWindowVisible(s.frame) != FALSE; });
}

// The toolbar to the left edge, floating, and back to the top.
void DragAround(const Scheduler& s) {
    RECT client{};
    GetClientRect(s.frame, &client);
    DragToolbar(s, {2, client.bottom / 2}, 'L');
    DragToolbar(s, {client.right / 2, client.bottom / 2}, 'F');
    DragToolbar(s, {client.right / 2, 2}, 'T');
}

int Soak(long long endEpoch, const char* expectedPath, const char* samplesPath) {
    FILE* expected = std::fopen(expectedPath, "ab");
    FILE* samples = std::fopen(samplesPath, "wb");
    if (expected == nullptr || samples == nullptr) {
        Fail("cannot open the expected or samples file");
    }
    long long since = EpochMs();
    Scheduler s;
    s.WaitShown();
    const int rows = s.Rows();
    // Nothing of the program under the pointer: no control's hot look, nor the row tip, comes
    // and goes with where an earlier run left it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Sample(s.program, since, samples);
    long long nextSample = since + 60000;
    // SOAK_ONLY names one group of commands to repeat alone (cancel, edit, about, menu, tray,
    // toolbar), to tell which of them the memory follows.
    const char* only = std::getenv("SOAK_ONLY");
    auto doing = [only](const char* group) {
        return only == nullptr || std::strcmp(only, group) == 0;
    };
    // Add confirmed, Change, Run Schedule, Remove answered No and then Yes.
    auto edit = [&](int cycle) {
        std::string key = "d" + std::to_string(cycle);
        s.Command(ID_SCHEDULE_ADD);
        AddSwitchedOff(s, key, "/soak/" + key + ".dvs");
        Must("the added row", [&] { return s.ShowsRows(rows + 1); });

        SelectLast(s);
        s.Command(ID_SCHEDULE_CHANGE);
        s.Press(s.WaitDialog("Schedule"), IDOK);

        SelectLast(s);
        // A start the user asked for: due from now, for a few seconds.
        std::fprintf(expected, "%s %lld 3000 run\n", key.c_str(), EpochMs());
        std::fflush(expected);
        s.Command(ID_SCHEDULE_RUN);
        Settled(s.frame);

        s.Command(ID_SCHEDULE_REMOVE);
        s.Press(s.WaitDialog("Scheduler"), IDNO);
        if (s.Rows() != rows + 1) {
            Fail("Remove answered No removed a row");
        }
        s.Command(ID_SCHEDULE_REMOVE);
        s.Press(s.WaitDialog("Scheduler"), IDYES);
        Must("the removed row", [&] { return s.ShowsRows(rows); });
    };
    int cycles = 0;
    for (; EpochMs() < endEpoch * 1000; ++cycles) {
        if (doing("cancel")) {
            s.Command(ID_SCHEDULE_ADD);
            s.Press(s.WaitDialog("Schedule"), IDCANCEL);
        }
        if (doing("edit")) {
            edit(cycles);
        }
        if (doing("about")) {
            s.Command(ID_SHOW_ABOUT);
            s.Press(s.WaitDialog("About..."), IDOK);
        }
        if (doing("menu")) {
            ContextMenu(s);
        }
        if (doing("tray")) {
            ToTrayAndBack(s);
        }
        if (doing("toolbar")) {
            DragAround(s);
        }
        if (EpochMs() >= nextSample) {
            Sample(s.program, since, samples);
            nextSample += 60000;
        }
    }
    Sample(s.program, since, samples);
    s.Shutdown();
    RemoveSavedSchedules();
    std::printf("ui_bench: %d rounds of the user's commands\n", cycles);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "floor") {
        return Floor();
    }
    if (mode == "latency" && argc > 3) {
        std::vector<int> counts;
        for (int i = 3; i < argc; ++i) {
            counts.push_back(std::atoi(argv[i]));
        }
        return Latency(std::atoi(argv[2]), counts);
    }
    if (mode == "soak" && argc == 5) {
        return Soak(std::atoll(argv[2]), argv[3], argv[4]);
    }
    std::fprintf(stderr,
                 "usage: ui_bench floor | latency ROUNDS COUNT... | soak END_EPOCH EXPECTED "
                 "SAMPLES\n");
    return 2;
}
