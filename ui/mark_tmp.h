#pragma once
#include <windows.h>
#include <cstdio>
inline void Mark(const char* what) {
    FILETIME c, e, k, u, now;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    GetSystemTimePreciseAsFileTime(&now);
    ULARGE_INTEGER a{{c.dwLowDateTime, c.dwHighDateTime}}, b{{now.dwLowDateTime, now.dwHighDateTime}};
    std::fprintf(stderr, "MARK %7.1f %s\n", (b.QuadPart - a.QuadPart) / 10000.0, what);
    std::fflush(stderr);
}
#include <vector>
inline double MarkNow() { LARGE_INTEGER f, c; QueryPerformanceFrequency(&f); QueryPerformanceCounter(&c); return c.QuadPart * 1000.0 / f.QuadPart; }
inline std::vector<double>& MarkStack() { static std::vector<double> s; return s; }
inline LRESULT CALLBACK MarkCall(int code, WPARAM w, LPARAM l) {
    MarkStack().push_back(MarkNow());
    return CallNextHookEx(nullptr, code, w, l);
}
inline LRESULT CALLBACK MarkRet(int code, WPARAM w, LPARAM l) {
    auto* r = reinterpret_cast<CWPRETSTRUCT*>(l);
    if (!MarkStack().empty()) {
        double took = MarkNow() - MarkStack().back();
        MarkStack().pop_back();
        if (took > 1.5) {
            char c[40] = {}; GetClassNameA(r->hwnd, c, 40);
            char b[128]; snprintf(b, 128, "%*s%04x %s took %.1f", (int)MarkStack().size() * 2, "", r->message, c, took);
            Mark(b);
        }
    }
    return CallNextHookEx(nullptr, code, w, l);
}
inline void MarkHooks() {
    SetWindowsHookExA(WH_CALLWNDPROC, MarkCall, nullptr, GetCurrentThreadId());
    SetWindowsHookExA(WH_CALLWNDPROCRET, MarkRet, nullptr, GetCurrentThreadId());
}
