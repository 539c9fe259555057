// A test-only program that looks at and works the windows of another
// program: the end-to-end tests drive the setup's dialogs with it.
//
// Every answer is one line per item, fields separated by tabs. Texts are
// written as the bytes the window holds, with \ \t \n \r written as \\ \t \n \r
// so that one item stays on one line. A window is named by its exact title
// or by "hwnd:" and its handle in hexadecimal as `windows` prints it.
// The exit code is 0 on success, 1 when a window or control is not found (or
// not in time) and 2 for a wrong command line.
//
// Fonts and dialog units are known only inside the window's own process: the
// probe asks there through its hook library, probe_hook.dll beside it.
//
//   windows        handle, class, title, visible (0/1), process id
//   info           handle, class, title, style, extended style, client area
//                  in dialog units (x, y, width, height) and in pixels, frame
//                  on the screen in pixels, screen width and height, tmHeight
//                  of the font the window's display contexts start with
//   controls       per control: id, class, text, rectangle in dialog units and
//                  in pixels of the dialog's client area, style, extended style
//   text           the control's text
//   font           face and height of the control's font (id 0: the window's)
//   progress       position, low and high end of progress bar 1003
//   box, answer    caption and text of the open message box
//   version        name and value of each item of a file's version block
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 100;
// The control id of a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

void PrintLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        line += fields[i];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::string Hex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

std::string HandleText(HWND window) {
    return Hex(reinterpret_cast<ULONG_PTR>(window));
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND FindTopLevel(const std::string& name) {
    static const std::string kHandlePrefix = "hwnd:";
    if (name.compare(0, kHandlePrefix.size(), kHandlePrefix) == 0) {
        const auto value = std::strtoull(name.c_str() + kHandlePrefix.size(), nullptr, 16);
        const HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
        return IsWindow(window) ? window : nullptr;
    }
    return FindWindowA(nullptr, name.c_str());
}

// A control's id as the dialog template has it: 16 bits, -1 for "none".
int ControlId(HWND control) {
    return static_cast<short>(GetDlgCtrlID(control) & 0xFFFF);
}

// Adds each window it is given to the std::vector<HWND> behind `list`.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Pixels from dialog units along one axis, the way dialogs place controls.
int ToPixels(int units, int base, int unitsPerBase) {
    return MulDiv(units, base, unitsPerBase);
}

// Dialog units from pixels: the value that dialog creation turns into exactly
// these pixels, so the template's own numbers come back.
int ToUnits(int pixels, int base, int unitsPerBase) {
    const int guess = MulDiv(pixels, unitsPerBase, base);
    for (const int delta : {0, -1, 1, -2, 2}) {
        if (ToPixels(guess + delta, base, unitsPerBase) == pixels) return guess + delta;
    }
    return guess;
}

// --- asking inside the window's own process (tests/e2e/hook/probe_hook.cpp) ---

// Also in probe_hook.cpp: the name of the query message and the tag of the answer.
constexpr char kQueryName[] = "setup32 probe query";
constexpr ULONG_PTR kAnswerTag = 0x53333250;

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;
         start = end + 1) {
        fields.push_back(text.substr(start, end - start));
    }
    fields.push_back(text.substr(start));
    return fields;
}

// What the hook in the window's process says about it: its font's face and
// height, the base units of its dialog and the height of the font its
// display contexts start with.
struct InsideFacts {
    std::string face;
    long height = 0;
    int baseX = 0;
    int baseY = 0;
    long systemFontHeight = 0;
};

LRESULT CALLBACK ReceiveAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        auto* answer = reinterpret_cast<std::string*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (data->dwData == kAnswerTag && answer) {
            answer->assign(static_cast<const char*>(data->lpData), data->cbData);
            return TRUE;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string HookLibraryPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    directory.erase(directory.find_last_of("\\/") + 1);
    return directory + "probe_hook.dll";
}

bool AskInside(HWND window, InsideFacts& facts) {
    const HMODULE library = LoadLibraryA(HookLibraryPath().c_str());
    const auto hook = library ? Lookup<HOOKPROC>(library, "ProbeQueryHook") : nullptr;
    if (!hook) return false;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA receiver{};
    receiver.lpfnWndProc = &ReceiveAnswer;
    receiver.hInstance = instance;
    receiver.lpszClassName = "setup32 probe answer";
    RegisterClassA(&receiver);
    const HWND reply = CreateWindowA(receiver.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, instance, nullptr);
    std::string answer;
    SetWindowLongPtrA(reply, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&answer));
    const HHOOK installed =
        SetWindowsHookExA(WH_CALLWNDPROC, hook, library, GetWindowThreadProcessId(window, nullptr));
    Ask(window, RegisterWindowMessageA(kQueryName), reinterpret_cast<WPARAM>(reply), 0);
    if (installed) UnhookWindowsHookEx(installed);
    DestroyWindow(reply);

    const auto fields = Split(answer, '\t');
    if (fields.size() != 5) return false;
    const auto number = [&fields](std::size_t i) {
        return std::strtol(fields[i].c_str(), nullptr, 10);
    };
    facts = {fields[0], number(1), static_cast<int>(number(2)), static_cast<int>(number(3)),
             number(4)};
    return true;
}

struct BaseUnits {
    int x = 0;
    int y = 0;
};

BaseUnits DialogBaseUnits(HWND dialog) {
    InsideFacts facts;
    if (!AskInside(dialog, facts)) return {};
    return {facts.baseX, facts.baseY};
}

std::vector<std::string> RectFields(const RECT& pixels, BaseUnits base) {
    const int width = pixels.right - pixels.left;
    const int height = pixels.bottom - pixels.top;
    std::vector<std::string> fields;
    if (base.x > 0 && base.y > 0) {
        for (const int value : {ToUnits(pixels.left, base.x, 4), ToUnits(pixels.top, base.y, 8),
                                ToUnits(width, base.x, 4), ToUnits(height, base.y, 8)}) {
            fields.push_back(std::to_string(value));
        }
    } else {
        fields.assign(4, "?");
    }
    for (const int value :
         {static_cast<int>(pixels.left), static_cast<int>(pixels.top), width, height}) {
        fields.push_back(std::to_string(value));
    }
    return fields;
}

RECT RectInParent(HWND control, HWND parent) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string StyleText(HWND window, int index) {
    return Hex(static_cast<DWORD>(GetWindowLongPtrA(window, index)));
}

bool WaitFor(DWORD seconds, bool (*ready)(const std::string&), const std::string& what) {
    const DWORD deadline = GetTickCount() + seconds * 1000;
    for (;;) {
        if (ready(what)) return true;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        Sleep(kPollMs);
    }
}

bool IsShown(const std::string& title) {
    const HWND window = FindTopLevel(title);
    return window && IsWindowVisible(window);
}

bool IsGone(const std::string& title) {
    return FindTopLevel(title) == nullptr;
}

// The text control of a message box: a static that is not an icon, id 0xFFFF.
HWND MessageBoxText(HWND box) {
    for (const HWND child : Children(box)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
        if ((GetDlgCtrlID(child) & 0xFFFF) == kMessageBoxTextId &&
            lstrcmpiA(ClassName(child).c_str(), "Static") == 0 &&
            (style & SS_TYPEMASK) != SS_ICON) {
            return child;
        }
    }
    return nullptr;
}

HWND OpenMessageBox() {
    for (const HWND window : TopLevelWindows()) {
        if (ClassName(window) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window) &&
            MessageBoxText(window)) {
            return window;
        }
    }
    return nullptr;
}

bool HasMessageBox(const std::string&) {
    return OpenMessageBox() != nullptr;
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// --- commands ---

int ListWindows() {
    for (const HWND window : TopLevelWindows()) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        PrintLine({HandleText(window), Escaped(ClassName(window)), Escaped(WindowText(window)),
                   IsWindowVisible(window) ? "1" : "0", std::to_string(process)});
    }
    return kFound;
}

int WindowInfo(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT client{};
    GetClientRect(window, &client);
    InsideFacts facts;
    const bool answered = AskInside(window, facts);
    std::vector<std::string> fields = {HandleText(window), Escaped(ClassName(window)),
                                       Escaped(WindowText(window)), StyleText(window, GWL_STYLE),
                                       StyleText(window, GWL_EXSTYLE)};
    for (const auto& field : RectFields(client, {facts.baseX, facts.baseY}))
        fields.push_back(field);
    for (const LONG value :
         {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}) {
        fields.push_back(std::to_string(value));
    }
    fields.push_back(std::to_string(GetSystemMetrics(SM_CXSCREEN)));
    fields.push_back(std::to_string(GetSystemMetrics(SM_CYSCREEN)));
    fields.push_back(answered ? std::to_string(facts.systemFontHeight) : "?");
    PrintLine(fields);
    return kFound;
}

int ListControls(HWND dialog) {
    const BaseUnits base = DialogBaseUnits(dialog);
    for (const HWND control : Children(dialog)) {
        if (GetParent(control) != dialog) continue;
        std::vector<std::string> fields = {std::to_string(ControlId(control)),
                                           Escaped(ClassName(control)),
                                           Escaped(WindowText(control))};
        for (const auto& field : RectFields(RectInParent(control, dialog), base))
            fields.push_back(field);
        fields.push_back(StyleText(control, GWL_STYLE));
        fields.push_back(StyleText(control, GWL_EXSTYLE));
        PrintLine(fields);
    }
    return kFound;
}

int PrintFont(HWND window) {
    InsideFacts facts;
    if (!AskInside(window, facts)) {
        std::fputs("no answer from inside the window's process\n", stderr);
        return kNotFound;
    }
    PrintLine({Escaped(facts.face), std::to_string(facts.height)});
    return kFound;
}

int PrintProgress(HWND bar) {
    PrintLine({std::to_string(Ask(bar, PBM_GETPOS, 0, 0)),
               std::to_string(Ask(bar, PBM_GETRANGE, TRUE, 0)),
               std::to_string(Ask(bar, PBM_GETRANGE, FALSE, 0))});
    return kFound;
}

// The open message box, once one is open within `seconds`; its caption and
// text are printed.
HWND ShowMessageBox(DWORD seconds) {
    if (!WaitFor(seconds, &HasMessageBox, "")) {
        std::fputs("no message box\n", stderr);
        return nullptr;
    }
    const HWND box = OpenMessageBox();
    PrintLine({Escaped(WindowText(box)), Escaped(WindowText(MessageBoxText(box)))});
    return box;
}

int AnswerMessageBox(int button, DWORD seconds) {
    const HWND box = ShowMessageBox(seconds);
    if (!box) return kNotFound;
    if (!GetDlgItem(box, button)) {
        std::fprintf(stderr, "the message box has no button %d\n", button);
        return kNotFound;
    }
    Press(box, button);
    return kFound;
}

std::string VersionText(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

// The version block's fixed numbers, translation and the named strings.
int PrintVersion(const char* file) {
    const HMODULE library = LoadLibraryA("version.dll");
    if (!library) return kNotFound;
    const auto size = Lookup<DWORD(WINAPI*)(LPCSTR, LPDWORD)>(library, "GetFileVersionInfoSizeA");
    const auto info =
        Lookup<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>(library, "GetFileVersionInfoA");
    const auto query =
        Lookup<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>(library, "VerQueryValueA");
    DWORD ignored = 0;
    const DWORD length = size && info && query ? size(file, &ignored) : 0;
    std::vector<char> block(length);
    if (length == 0 || !info(file, 0, length, block.data())) return kNotFound;

    void* value = nullptr;
    UINT valueLength = 0;
    if (query(block.data(), "\\", &value, &valueLength)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        PrintLine({"FileVersion#", VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS)});
        PrintLine(
            {"ProductVersion#", VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS)});
    }
    if (!query(block.data(), "\\VarFileInfo\\Translation", &value, &valueLength) ||
        valueLength < 4) {
        return kFound;
    }
    const auto* translation = static_cast<const WORD*>(value);
    char blockName[16];
    std::snprintf(blockName, sizeof blockName, "%04x%04x", translation[0], translation[1]);
    PrintLine({"Translation", blockName});
    for (const char* name :
         {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
          "OriginalFilename", "ProductName", "ProductVersion"}) {
        const std::string path = std::string("\\StringFileInfo\\") + blockName + "\\" + name;
        if (query(block.data(), path.c_str(), &value, &valueLength)) {
            PrintLine({name, Escaped(static_cast<const char*>(value))});
        }
    }
    return kFound;
}

int Usage() {
    std::fputs(
        "usage: probe windows\n"
        "       probe info <window>\n"
        "       probe controls <window>\n"
        "       probe text <window> <id>\n"
        "       probe font <window> <id>      (id 0: the window itself)\n"
        "       probe progress <window>\n"
        "       probe press <window> <id>\n"
        "       probe syscommand <window> <command>\n"
        "       probe key <window> <virtual-key>\n"
        "       probe box [seconds]\n"
        "       probe answer <button-id> [seconds]\n"
        "       probe wait <window> <seconds>\n"
        "       probe gone <window> <seconds>\n"
        "       probe version <file>\n",
        stderr);
    return kUsage;
}

int Number(const char* text) {
    return static_cast<int>(std::strtol(text, nullptr, 0));
}

HWND Control(HWND dialog, int id) {
    return id == 0 ? dialog : GetDlgItem(dialog, id);
}

int NoControl(int id) {
    std::fprintf(stderr, "no control %d\n", id);
    return kNotFound;
}

int RunOnWindow(const std::string& command, HWND window, int argc, char** argv) {
    if (command == "info") return WindowInfo(window);
    if (command == "controls") return ListControls(window);
    if (command == "progress") {
        const HWND bar = GetDlgItem(window, 1003);
        return bar ? PrintProgress(bar) : NoControl(1003);
    }
    if (argc < 4) return Usage();
    const int number = Number(argv[3]);
    if (command == "syscommand") {
        PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(number), 0);
        return kFound;
    }
    if (command == "press") {
        Press(window, number);
        return kFound;
    }
    if (command == "key") {
        PostMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(number), 1);
        PostMessageA(window, WM_KEYUP, static_cast<WPARAM>(number), 0xC0000001);
        return kFound;
    }
    const HWND control = Control(window, number);
    if (!control) return NoControl(number);
    if (command == "text") {
        PrintLine({Escaped(WindowText(control))});
        return kFound;
    }
    if (command == "font") return PrintFont(control);
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in \n alone
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "windows") return ListWindows();
    constexpr DWORD kDefaultWait = 10;
    if (command == "box") {
        return ShowMessageBox(argc > 2 ? static_cast<DWORD>(Number(argv[2])) : kDefaultWait)
                   ? kFound
                   : kNotFound;
    }
    if (argc < 3) return Usage();
    if (command == "answer") {
        return AnswerMessageBox(Number(argv[2]),
                                argc > 3 ? static_cast<DWORD>(Number(argv[3])) : kDefaultWait);
    }
    if (command == "version") return PrintVersion(argv[2]);
    if (command == "wait" || command == "gone") {
        if (argc < 4) return Usage();
        const auto seconds = static_cast<DWORD>(Number(argv[3]));
        return WaitFor(seconds, command == "wait" ? &IsShown : &IsGone, argv[2]) ? kFound
                                                                                 : kNotFound;
    }
    const HWND window = FindTopLevel(argv[2]);
    if (!window) {
        std::fprintf(stderr, "no window \"%s\"\n", argv[2]);
        return kNotFound;
    }
    return RunOnWindow(command, window, argc, argv);
}
