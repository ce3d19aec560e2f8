// The main window's web actions: the empty-slot buttons (an address from the downloaded link
// list), the module search of the slot panels and the drivers button. Every address goes to the
// desktop shell, which hands it to the user's browser.
#pragma once

#include "app/app_platform.h"
#include "app/main_dlg_state.h"
#include "app/main_dlg_ui.h"
#include "util/shell.h"

#include <cstddef>
#include <string>
#include <string_view>

// The longest address the empty-slot buttons open.
inline constexpr std::size_t kMaxWebAddressLength = 2048;

// The fixed addresses on the maker's web server (host, and port when it has one), in the
// build's scheme (ServerRoot).
std::string LinkListAddress(const std::string& serverHost);   // the link list to download
std::string MoreMemoryAddress(const std::string& serverHost); // the empty-slot buttons' fallback
std::string DriversPageAddress(const std::string& serverHost);
// The page that offers a newer version.
std::string DownloadPageAddress();

// True for a well-formed absolute "http://" or "https://" address: a host name, an IPv4 address
// or a bracketed IPv6 address, an optional port from 1 to 65535, no user name, and after it only
// the characters an address may carry unescaped, with every "%" starting an escape of two
// hexadecimal digits; at most kMaxWebAddressLength characters. Blanks, control characters,
// backslashes and bytes outside ASCII make it false. The link list arrives over plain HTTP, and
// the shell would just as well start a program, open a share or run a protocol handler.
bool IsOpenableWebAddress(std::string_view address);

// The address that key names in section "links" of the link-list text, when it has at least two
// characters and is openable; otherwise the fallback.
std::string LinkFromList(std::string_view linkListText, std::string_view key,
                         const std::string& fallback);

// The same, read at every call from the link list in the per-user data folder; a missing,
// unreadable or oversized file gives the fallback.
std::string GetLink(const std::string& key, IAppPlatform& platform, const std::string& serverHost);

// The search text of a slot panel: its vendor row without any "N/A" in it, a blank, its part
// number row, trimmed of blanks and control characters at both ends.
std::string ModuleSearchText(const SlotPanelState& panel);
// The web-search address for a text, the text percent-encoded in the program's code page.
std::string ModuleSearchAddress(const std::string& searchText);

// getRAM1_btn..getRAM4_btn: opens the link list's "ram" address with the window as owner.
void getRAM_btnClick(IAppPlatform& platform, IMainDlgUi& ui, const std::string& serverHost);

// getSpec1_btn..getSpec4_btn (slot 0 to 3): searches the web for the module that the slot's
// list view shows. A panel without a part number has its button disabled and searches nothing.
void getSpec_btnClick(const MainDlgState& state, int slot, IShell& shell);

// drivers_btn: starts the maker's driver-update program that the registry value "Melvo" names
// when that file exists and is not empty, else opens the drivers page.
void drivers_btnClick(IAppPlatform& platform, IShell& shell, const std::string& serverHost);
