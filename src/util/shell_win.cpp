#include "util/shell_win.h"

#include "util/codepage_win.h"
#include "util/shell.h"

#include <shellapi.h>

#include <cstdint>

namespace {

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

class WindowsShell final : public IShell {
public:
    bool RunProgram(const std::string& file, const std::string& parameters, const std::string& verb,
                    int showMode) override {
        return ::RunProgram(file, parameters, verb, showMode);
    }
};

} // namespace

bool RunProgram(const std::string& file, const std::string& parameters, const std::string& verb,
                int showMode) {
    const std::wstring wideFile = WideFromGbk(file);
    const std::wstring wideParameters = WideFromGbk(parameters);
    const std::wstring wideVerb = WideFromGbk(verb);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_DOENVSUBST | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = OrNull(wideVerb);
    info.lpFile = wideFile.c_str();
    info.lpParameters = OrNull(wideParameters);
    info.nShow = showMode;
    return ShellExecuteExW(&info) != FALSE;
}

bool ShellOpen(HWND owner, const std::string& operation, const std::string& file,
               const std::string& parameters, const std::string& folder, int showMode) {
    const HINSTANCE result =
        ShellExecuteW(owner, WideFromGbk(operation).c_str(), WideFromGbk(file).c_str(),
                      WideFromGbk(parameters).c_str(), WideFromGbk(folder).c_str(), showMode);
    // Values up to 32 are error codes.
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

IShell& SystemShell() {
    static WindowsShell shell;
    return shell;
}
