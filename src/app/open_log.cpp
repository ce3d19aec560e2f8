#include "app/open_log.h"

void Openlogfile1Click(const TKLog* log, IShell& shell) {
    if (log != nullptr) {
        log->ShowLog(shell);
    }
}
