// The version detection's registry reads against the real registry under Wine.
#include "identify/system_identify_platform.h"
#include "identify/version_detection.h"
#include "util/os_error.h"

#include "support/pe_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Machine keys written for one test (64-bit view) and deleted after it, deepest first.
class MachineKeys {
public:
    MachineKeys() = default;
    MachineKeys(const MachineKeys&) = delete;
    MachineKeys& operator=(const MachineKeys&) = delete;
    ~MachineKeys() {
        for (auto key = written_.rbegin(); key != written_.rend(); ++key) {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key->c_str(), KEY_WOW64_64KEY, 0);
        }
    }

    void Write(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
               DWORD size) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &opened, nullptr),
                  ERROR_SUCCESS);
        written_.push_back(key);
        EXPECT_EQ(
            RegSetValueExW(opened, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
        RegCloseKey(opened);
    }

    // A key to delete too, once the keys written below it are gone.
    void Remember(const std::wstring& key) { written_.push_back(key); }

    void WriteText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
        Write(key, name, REG_SZ, text.c_str(),
              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

private:
    std::vector<std::wstring> written_;
};

const std::wstring kCodecKey = L"SOFTWARE\\GNU\\ffdshow";

TEST(VersionDetectionRegistryWin, ReadsTheCodecRevisionAsAnInteger) {
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->ReadFfdshowRevision(), std::nullopt);
    {
        MachineKeys keys;
        keys.Remember(L"SOFTWARE\\GNU");
        const DWORD revision = 4000;
        keys.Write(kCodecKey, L"revision", REG_DWORD, &revision, sizeof revision);
        EXPECT_EQ(platform->ReadFfdshowRevision(), 4000);

        // The codec's own library takes its version from that revision.
        TempFolder folder;
        std::string library = folder.File("ff_vfw.dll");
        using namespace pe_builder;
        std::ofstream(library, std::ios::binary)
            << BuildImage(UsualBlock({String(u"FileDescription", u"ffdshow video codec")})).bytes;
        EXPECT_EQ(DetectFileVersion(library, *platform), "1.1.4000");
    }
    {
        MachineKeys keys;
        keys.Remember(L"SOFTWARE\\GNU");
        keys.WriteText(kCodecKey, L"revision", L"4000");
        EXPECT_THROW(platform->ReadFfdshowRevision(), OSError);
    }
    EXPECT_EQ(platform->ReadFfdshowRevision(), std::nullopt);
}

TEST(VersionDetectionRegistryWin, CodecPackTokensReadTheUninstallEntries) {
    MachineKeys keys;
    const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    keys.WriteText(uninstall + L"KLiteCodecPack64_is1", L"DisplayName",
                   L"K-Lite Codec Pack 17.9.4 (64-bit)");
    keys.WriteText(uninstall + L"KLiteCodecPack64_is1", L"DisplayVersion", L"17.9.4");
    keys.WriteText(uninstall + L"KLiteCodecPack_is1", L"DisplayName", L"K-Lite Codec Pack 17.9.2");
    keys.WriteText(uninstall + L"KLiteCodecPack_is1", L"DisplayVersion", L"17.9.2");
    const auto platform = MakeSystemIdentifyPlatform();
    std::string token = "KLITE64";
    EXPECT_EQ(DetectFileVersion(token, *platform), "17.9.4");
    token = "KLITE";
    EXPECT_EQ(DetectFileVersion(token, *platform), "17.9.2");
}

} // namespace
