#include "cli/identify_command.h"

#include "identify/identify_text.h"
#include "identify/system_identify_platform.h"
#include "identify/version_detection.h"
#include "util/file_bytes.h"

#include <array>
#include <cstdio>
#include <exception>

namespace {

struct IdentifyColumn {
    std::string (*text)(const IdentifyFacts& facts);
};

std::string Flag(bool value) {
    return value ? "1" : "0";
}

// In the order of the line.
constexpr std::array<IdentifyColumn, 13> kColumns = {{
    {[](const IdentifyFacts& f) { return Flag(f.isImage); }},
    {[](const IdentifyFacts& f) { return Flag(f.is64); }},
    {[](const IdentifyFacts& f) { return f.strings.FileDescription; }},
    {[](const IdentifyFacts& f) { return f.strings.CompanyName; }},
    {[](const IdentifyFacts& f) { return f.strings.FileVersion; }},
    {[](const IdentifyFacts& f) { return f.strings.InternalName; }},
    {[](const IdentifyFacts& f) { return f.strings.LegalCopyright; }},
    {[](const IdentifyFacts& f) { return f.strings.OriginalFilename; }},
    {[](const IdentifyFacts& f) { return f.strings.ProductName; }},
    {[](const IdentifyFacts& f) { return f.strings.ProductVersion; }},
    {[](const IdentifyFacts& f) { return f.names.Product; }},
    {[](const IdentifyFacts& f) { return f.names.Company; }},
    {[](const IdentifyFacts& f) { return f.version; }},
}};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
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
        }
    }
    return out;
}

std::string Milliseconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

IdentifyFacts GatherIdentifyFacts(IVersionDetectionPlatform& platform, const std::string& path) {
    const IdentificationScope identification(platform);
    IdentifyFacts facts;
    facts.isImage = platform.IsPEImage(path, facts.is64);
    facts.strings = platform.ReadVersionStrings(path);
    facts.names = GetDisplayedFileInfo(path, platform);
    std::string detected = path;
    facts.version = DetectFileVersion(detected, platform);
    return facts;
}

std::vector<std::string> IdentifyFields(const IdentifyFacts* facts) {
    std::vector<std::string> fields;
    for (const IdentifyColumn& column : kColumns) {
        fields.push_back(facts ? LineField(column.text(*facts)) : std::string());
    }
    return fields;
}

std::string LineField(const std::string& text) {
    return Escaped(Utf8FromIdentifyText(text));
}

int RunIdentify(const std::vector<std::string>& arguments, CliContext& context,
                IVersionDetectionPlatform& platform) {
    bool timed = false;
    std::vector<std::string> files;
    for (const std::string& argument : arguments) {
        if (argument == "--time") {
            timed = true;
        } else {
            files.push_back(argument);
        }
    }
    if (files.empty()) {
        context.err << "usage: slotvane-cli identify [--time] FILE...\n";
        return kExitUsage;
    }
    int exitCode = kExitSuccess;
    for (const std::string& file : files) {
        const std::string path = context.pathFromArgument(file);
        const double start = context.milliseconds();
        std::vector<std::string> fields;
        try {
            if (!OpenFileBytes(path)) {
                throw std::runtime_error("cannot open the file");
            }
            const IdentifyFacts facts = GatherIdentifyFacts(platform, path);
            fields = IdentifyFields(&facts);
        } catch (const std::exception& error) {
            context.err << "slotvane-cli: " << Escaped(file) << ": " << LineField(error.what())
                        << '\n';
            fields = IdentifyFields(nullptr);
            exitCode = kExitFailure;
        }
        const double elapsed = context.milliseconds() - start;
        context.out << Escaped(file);
        for (const std::string& field : fields) {
            context.out << '\t' << field;
        }
        if (timed) {
            context.out << '\t' << Milliseconds(elapsed);
        }
        context.out << '\n';
    }
    return exitCode;
}

int RunIdentifyCommand(const std::vector<std::string>& arguments, CliContext& context) {
    const std::unique_ptr<TSystemIdentifyPlatform> platform = MakeSystemIdentifyPlatform();
    return RunIdentify(arguments, context, *platform);
}
