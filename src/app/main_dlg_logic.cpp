#include "app/main_dlg_logic.h"

#include "app/message_box.h"
#include "app/open_log.h"
#include "app/web_actions.h"
#include "util/byte_size.h"
#include "util/data_folder.h"
#include "util/os_version.h"

#include "slotvane_config.h"

#include <optional>
#include <utility>

namespace {

constexpr int kDetail = 0;
constexpr int kInfo = 1;

// The caption of the empty-slot buttons: three lines, the middle one empty.
constexpr const char* kEmptySlotCaption = "空插槽!\r\n\r\n点击这里获取更多内存";
// What the user's own check says when it brought no version.
constexpr const char* kUpdateCheckFailed = "检查更新失败, 请稍后再试.";

std::string Title() {
    return config::kAppTitle;
}

} // namespace

TMainDlgLogic::TMainDlgLogic(MainDlgState& state, MainDlgLogicServices services)
    : state_(state), services_(std::move(services)) {}

TMainDlgLogic::~TMainDlgLogic() {
    FormDestroy();
}

std::string TMainDlgLogic::ServerHost() const {
    return services_.serverHost.empty() ? std::string(config::kServerHost) : services_.serverHost;
}

void TMainDlgLogic::AppEvtActivate() {
    if (!activationHooked_) {
        return;
    }
    // Unhooked first, so that a step that fails does not make the next activation start over.
    activationHooked_ = false;

    IAppPlatform& platform = services_.platform;
    const std::string programPath = platform.ProgramPath();
    platform.StoreMakerRegistryValue(Title(), programPath);

    state_.caption = Title() + " v" + platform.FileVersionText(programPath);

    state_.bannerOwnColour = true;

    log_ = std::make_unique<TKLog>(platform.UserDataFolder() + Title() + ".log", false,
                                   config::kLogMaxLines, services_.clock);

    WriteStartupLines();

    SetSizeUnitNames({"B", "KB", "MB", "GB", "TB"});

    state_.emptySlotCaptions[0] = kEmptySlotCaption;
    for (std::size_t n = 1; n < state_.emptySlotCaptions.size(); ++n) {
        state_.emptySlotCaptions[n] = state_.emptySlotCaptions[0];
    }

    // In the background: the file is read only when an empty-slot button is clicked.
    grabber_ = std::make_unique<TFileGrabber>(log_.get(), services_.ticks);
    grabber_->Download(LinkListAddress(ServerHost()),
                       platform.UserDataFolder() + config::kLinkListFile, services_.http, nullptr);

    autoUpdateCheck_ = true;

    updater_ = std::make_unique<TVeyraLite>(log_.get(), Title(), services_.identification,
                                            services_.ticks, ServerHost());

    Checkforupdate1Click();

    services_.scanModules(state_, log_.get());
}

void TMainDlgLogic::WriteStartupLines() {
    IAppPlatform& platform = services_.platform;
    TKLog& log = *log_;
    log.AddLine("正在开始", kInfo);
    log.AddLine(platform.ProgramPath(), kInfo);
    log.AddLine(state_.caption, kInfo);
    log.AddLine("Windows : " + platform.WindowsVersionText(), kInfo);
    log.AddLine("64 位: " + YesNoText(platform.Is64BitWindows()), kInfo);
    log.AddLine("管理员: " + YesNoText(platform.RunsAsAdministrator()), kInfo);
    const std::string uninstallName = std::string(config::kMakerName) + " " + Title();
    log.AddLine("便携式: " + YesNoText(!platform.IsProgramInstalled(uninstallName)), kInfo);
    if (const std::optional<std::string> argument = platform.FirstArgument()) {
        log.AddLine(*argument, kInfo);
    }
}

void TMainDlgLogic::FormClose() {
    const std::string cleaned =
        services_.platform.CleanVirtualStore(FolderOfPath(services_.platform.ProgramPath()));
    if (!cleaned.empty()) {
        AddLine(log_.get(), "Cleaning VirtualStore : " + cleaned, kDetail);
    }
}

void TMainDlgLogic::FormDestroy() {
    // The grabber and the checker keep a pointer to the log but write nothing while they are
    // destroyed: a transfer in flight is abandoned without a line.
    log_.reset();
    grabber_.reset();
    updater_.reset();
}

void TMainDlgLogic::Openlogfile1Click() {
    ::Openlogfile1Click(log_.get(), services_.shell);
}

void TMainDlgLogic::getRAM_btnClick() {
    ::getRAM_btnClick(services_.platform, services_.ui, ServerHost());
}

void TMainDlgLogic::getSpec_btnClick(int slot) {
    ::getSpec_btnClick(state_, slot, services_.shell);
}

void TMainDlgLogic::drivers_btnClick() {
    ::drivers_btnClick(services_.platform, services_.shell, ServerHost());
}

void TMainDlgLogic::Checkforupdate1Click() {
    if (!updater_ || updater_->Busy()) {
        return;
    }
    state_.checkForUpdateEnabled = false;
    AddLine(log_.get(), "更新自检...", kInfo);
    updater_->CheckForUpdate(services_.platform.ProgramPath(), services_.http,
                             [this](TVeyraLite& checker) { UpdateCheckDone(checker); });
}

void TMainDlgLogic::UpdateCheckDone(const TVeyraLite& checker) {
    const std::string current = Title() + " 已经是最新的.";
    if (checker.NewerAvailable()) {
        AddLine(log_.get(), "检测到新版本的 " + Title(), kInfo);
        const int answer =
            services_.ui.AskQuestion("一个新版本的 " + Title() + " 可用. 你想现在下载更新吗?");
        if (answer == kResultYes) {
            services_.shell.RunProgram(DownloadPageAddress(), "", "", kShowNormal);
        }
    } else {
        if (checker.AnswerValid()) {
            AddLine(log_.get(), current, kInfo);
        }
        // Only the user's own check is answered; start-up's stays silent. A check that brought
        // no version (no connection, a server error, an error page) says so: telling the user
        // the program is current would be a guess.
        if (!autoUpdateCheck_) {
            services_.ui.ShowMessage(checker.AnswerValid() ? current : kUpdateCheckFailed);
        }
    }
    state_.checkForUpdateEnabled = true;
    autoUpdateCheck_ = false;
    if (services_.stateChanged) {
        services_.stateChanged();
    }
}
