#include "util/shell.h"

namespace {

// The native build serves tests only; it has no desktop shell, so no request is accepted.
class NoShell final : public IShell {
public:
    bool RunProgram(const std::string&, const std::string&, const std::string&, int) override {
        return false;
    }
};

} // namespace

IShell& SystemShell() {
    static NoShell shell;
    return shell;
}
