#include "identify/version_detection.h"

#include "identify/descriptor_tag.h"
#include "identify/string_helpers.h"
#include "identify/version_rules.h"
#include "identify/version_text.h"
#include "util/version.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace {

// The deepest chain the rules build is three files long; this leaves room without letting a
// crafted set of files recurse for long.
constexpr std::size_t kMaxNesting = 6;

TVeyraVersion Ver(const std::string& text) {
    return TVeyraVersion(text);
}

std::string FixedVersionText(IVersionDetectionPlatform& platform, const std::string& path) {
    try {
        return platform.GetFileVersionText(path);
    } catch (const std::exception&) {
        return std::string();
    }
}

class Detector : public IDetectAnother {
public:
    explicit Detector(IVersionDetectionPlatform& platform) : platform_(platform) {}

    std::string Detect(std::string path) override {
        std::string copy = path;
        return Run(copy);
    }

    std::string Run(std::string& path) {
        path = platform_.NativeSystemPath(path);
        const bool reentered =
            std::any_of(chain_.begin(), chain_.end(),
                        [&path](const std::string& open) { return EqualsNoCase(open, path); });
        if (reentered || chain_.size() >= kMaxNesting) {
            return FixedVersionText(platform_, path);
        }
        chain_.push_back(path);
        struct Leave {
            std::vector<std::string>& chain;
            ~Leave() { chain.pop_back(); }
        } leave{chain_};
        return Pipeline(path);
    }

private:
    std::string Pipeline(std::string& path);

    IVersionDetectionPlatform& platform_;
    std::vector<std::string> chain_; // the files being examined, outermost first
};

std::string Detector::Pipeline(std::string& path) {
    if (auto version = PseudoNameVersion(path, platform_)) {
        return *version;
    }

    DetectionContext c{platform_, *this, path, {}, {}, {}, {}, {}, {}};
    c.MoveTo(path);
    c.folder = PathFolder(path);
    c.names = platform_.DisplayedFileInfo(path);

    ApplyNameKeyedLookups(c);
    if (!c.result.empty() || ApplySiblingRedirect(c)) {
        return c.result;
    }

    c.result = FixedVersionText(platform_, path);
    if (c.result == "0.0.0.0" && c.names.Product == "Google Chrome") {
        return platform_.HighestVersionSubfolder(path);
    }
    if (EqualsNoCase(c.names.Product, "Paint.NET")) {
        ApplyPaintNetRule(c);
        return c.result;
    }
    if (!platform_.HasVersionResource(path)) {
        const std::string descriptor = c.folder + "META-INF\\AIR\\application.xml";
        if (c.result.empty() && platform_.FileExistsNonEmpty(descriptor)) {
            c.result = ReadDescriptorTag("versionNumber", platform_.LoadLines(descriptor));
        }
        return c.result;
    }

    c.info = platform_.ReadVersionStrings(path);
    if (ApplyGroupA(c)) {
        return c.result;
    }
    std::string& r = c.result;
    const std::string& fv = c.info.FileVersion;
    const std::string& pv = c.info.ProductVersion;

    // The file-version text may carry a release that the fixed version lacks.
    if (!fv.empty() && IsDigitsAndDots(fv)) {
        const std::string padded = PadToFourParts(fv);
        if (Ver(padded).IsNewerThan(Ver(r)) && Ver(padded).HighPart() == Ver(r).HighPart()) {
            r = padded;
        }
    }

    const bool notepadPlusPlus = ContainsNoCase("notepad++", c.info.ProductName);
    if (r.find('.') != std::string::npos && pv.find('.') != std::string::npos) {
        const std::string leading = LeadingVersionText(pv);
        // 1.2.3.x is not replaced by a product version that writes the same digits as 1.23.
        if (Ver(leading).HighPart() > Ver(r).HighPart() &&
            FieldAt(r, 0, ".") == FieldAt(leading, 0, ".") &&
            FieldAt(r, 1, ".") + FieldAt(r, 2, ".") != FieldAt(leading, 1, ".") &&
            !notepadPlusPlus) {
            r = leading;
        }
        if (r == "0.0.0.0" && Ver(leading).HighPart() > 0) {
            r = leading;
        }
    }

    {
        const std::string product = LeadingVersionText(pv);
        const std::string file = LeadingVersionText(fv);
        const TVeyraVersion current = Ver(r);
        if (Ver(product).HighPart() == Ver(file).HighPart() && Ver(product).IsNewerThan(current) &&
            !notepadPlusPlus && Ver(product).IsValid() && Ver(file).IsValid()) {
            r = product.size() > file.size() ? product : file;
            if (ContainsNoCase("Total Commander", c.names.Product) && current.Build > 0) {
                r += "." + std::to_string(current.Build);
            }
        }
    }

    if (path.find("LimeWire") != std::string::npos && StartsWithExact(r, "1") &&
        platform_.FileExistsNonEmpty(c.folder + "uninstall.exe")) {
        r = Detect(c.folder + "uninstall.exe");
    }

    // Placeholder versions give way to the version texts.
    const auto isPlaceholder = [&r] { return r == "1.0.0.0" || r == "1.0.0.1"; };
    const auto preferNewerProductVersion = [&r, &pv] {
        const std::string leading = LeadingVersionText(pv);
        if (Ver(leading).IsNewerThan(Ver(r))) {
            r = leading;
        }
    };
    if (isPlaceholder() && !fv.empty() && IsDigitsAndDots(fv)) {
        r = PadToFourParts(LeadingVersionText(fv));
    }
    if (isPlaceholder()) {
        preferNewerProductVersion();
    }
    if (StartsWithExact(r, "0.0.0")) {
        preferNewerProductVersion();
    }

    ApplyGroupB(c);
    return c.result;
}

} // namespace

std::string DetectFileVersion(std::string& path, IVersionDetectionPlatform& platform) {
    const IdentificationScope identification(platform);
    Detector detector(platform);
    return detector.Run(path);
}
