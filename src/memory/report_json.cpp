#include "memory/report_json.h"

#include "util/file_bytes.h"
#include "util/utf8_text.h"
#include "wmi/win32_physical_memory.h"
#include "wmi/win32_physical_memory_array.h"
#include "wmi/wmi_conversions.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Written in the order given; read into a plain map, since the order read does not matter.
using Document = nlohmann::ordered_json;
using json = nlohmann::json;

// The keys of "shown", one for each row of a module's list view, in row order.
constexpr std::array<const char*, 7> kShownRowKeys = {"slot", "capacity", "maker", "part",
                                                      "type", "serial",   "speed"};

// The service's form-factor codes, each row the name of its code.
constexpr std::array<const char*, 24> kFormFactorNames = {
    "Unknown", "Other", "SIP",  "DIP",  "ZIP",    "SOJ",   "Proprietary", "SIMM",
    "DIMM",    "TSOP",  "PGA",  "RIMM", "SODIMM", "SRIMM", "SMD",         "SSMP",
    "QFP",     "TQFP",  "SOIC", "LCC",  "PLCC",   "BGA",   "FPBGA",       "LGA",
};

// --- Writing ---

// A stored value as the document holds it; nothing for an unset one.
std::optional<Document> ValueOf(const TVariant& value, WmiFieldKind kind) {
    if (value.IsNull() || value.IsEmpty()) {
        return std::nullopt;
    }
    switch (kind) {
    case WmiFieldKind::Text:
    case WmiFieldKind::DateTime:
        return Document(Utf8FromProgramText(WmiVarToText(value)));
    case WmiFieldKind::Word:
        return Document(WmiVarToWord(value));
    case WmiFieldKind::Cardinal:
        return Document(WmiVarToCardinal(value));
    case WmiFieldKind::Int64:
        return Document(std::to_string(WmiVarToInt64(value)));
    case WmiFieldKind::Boolean:
        return Document(WmiVarToBoolean(value));
    case WmiFieldKind::Real: {
        const double number = WmiVarToDouble(value);
        return std::isfinite(number) ? std::optional<Document>(number) : std::nullopt;
    }
    }
    return std::nullopt;
}

// Every record a load stored, each with the properties it set; none when the load failed.
Document Records(const TWmiClass& records, const std::vector<TWmiProperty>& properties) {
    Document list = Document::array();
    for (std::int32_t i = 0; i < records.GetCount(); ++i) {
        Document record = Document::object();
        for (const TWmiProperty& property : properties) {
            if (auto value =
                    ValueOf(records.GetPropValueByIndex(property.name, i), property.kind)) {
                record[property.name] = std::move(*value);
            }
        }
        list.push_back(std::move(record));
    }
    return list;
}

bool Has(const TWmiClass& records, const char* name, std::int32_t index) {
    const TVariant value = records.GetPropValueByIndex(name, index);
    return !value.IsNull() && !value.IsEmpty();
}

// What the window shows of module k, and what users of memory tools ask for next where the
// service has it.
Document Shown(const ModuleListView& list, TWin32_PhysicalMemory& module, std::int32_t k) {
    Document shown = Document::object();
    for (std::size_t row = 0; row < list.rows.size() && row < kShownRowKeys.size(); ++row) {
        shown[kShownRowKeys[row]] = Utf8FromProgramText(list.rows[row].value);
    }
    module.SetCollectionIndex(k);
    if (Has(module, "Attributes", k) && module.Attributes > 0) {
        shown["rank"] = module.Attributes;
    }
    if (Has(module, "FormFactor", k) && module.FormFactor > 0 &&
        module.FormFactor < kFormFactorNames.size()) {
        shown["form_factor"] = kFormFactorNames[module.FormFactor];
    }
    if (Has(module, "TotalWidth", k) && Has(module, "DataWidth", k) && module.DataWidth > 0) {
        shown["ecc"] = module.TotalWidth > module.DataWidth;
    }
    if (Has(module, "ConfiguredVoltage", k) && module.ConfiguredVoltage > 0) {
        shown["voltage"] = module.ConfiguredVoltage / 1000.0;
    }
    return shown;
}

// --- Reading ---

[[noreturn]] void Refuse(const std::string& problem) {
    throw ReportFileError(problem);
}

// The parser's message without its prefix, on one line.
std::string ParserProblem(const std::string& what) {
    std::string text = what.substr(what.find(']') == std::string::npos ? 0 : what.find(']') + 1);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    return text.substr(
        text.find_first_not_of(' ') == std::string::npos ? 0 : text.find_first_not_of(' '));
}

json Parse(std::string_view text) {
    if (text.size() > kReportFileMaxBytes) {
        Refuse("the file is larger than 16 MiB");
    }
    std::size_t values = 0;
    // Refused while parsing, before a deep or huge document is built.
    const json::parser_callback_t limits = [&values](int depth, json::parse_event_t event, json&) {
        if (depth > kReportMaxDepth) {
            Refuse("the document is nested deeper than " + std::to_string(kReportMaxDepth) +
                   " levels");
        }
        if (event != json::parse_event_t::key && event != json::parse_event_t::object_end &&
            event != json::parse_event_t::array_end && ++values > kReportMaxValues) {
            Refuse("the document holds more than " + std::to_string(kReportMaxValues) + " values");
        }
        return true;
    };
    try {
        return json::parse(text.begin(), text.end(), limits);
    } catch (const json::exception& error) {
        Refuse("not a JSON document:" + std::string(" ") + ParserProblem(error.what()));
    }
}

std::string Where(const char* list, std::size_t index, const char* name) {
    return std::string(list) + "[" + std::to_string(index) + "]." + name;
}

// A whole number from 0 to `max`, as the document gives it; nothing otherwise.
std::optional<std::uint64_t> WholeNumber(const json& value, std::uint64_t max) {
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        return number <= max ? std::optional(number) : std::nullopt;
    }
    if (value.is_number_integer()) {
        const auto number = value.get<std::int64_t>();
        return number >= 0 && static_cast<std::uint64_t>(number) <= max
                   ? std::optional(static_cast<std::uint64_t>(number))
                   : std::nullopt;
    }
    return std::nullopt;
}

// An integer as the service delivers it: a 32-bit integer where it fits.
TVariant Integer(std::uint64_t number) {
    if (number <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return TVariant::Int32(static_cast<std::int32_t>(number));
    }
    return TVariant::Int64(static_cast<std::int64_t>(number));
}

bool IsDecimal(const std::string& text) {
    constexpr std::size_t kInt64Digits = 19;
    if (text.empty() || text.size() > kInt64Digits) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return text.size() < kInt64Digits || text <= "9223372036854775807";
}

// One property's value as the service gives it; raises for the wrong kind or range.
TVariant ReadValue(const json& value, WmiFieldKind kind, const std::string& where) {
    if (value.is_null()) {
        return TVariant::Null();
    }
    switch (kind) {
    case WmiFieldKind::Text:
    case WmiFieldKind::DateTime:
        if (!value.is_string()) {
            Refuse(where + ": a string expected");
        }
        return TVariant::Text(ProgramTextFromUtf8(value.get_ref<const std::string&>()));
    case WmiFieldKind::Word:
    case WmiFieldKind::Cardinal: {
        const std::uint64_t max = kind == WmiFieldKind::Word
                                      ? std::numeric_limits<std::uint16_t>::max()
                                      : std::numeric_limits<std::uint32_t>::max();
        const auto number = WholeNumber(value, max);
        if (!number) {
            Refuse(where + ": a whole number from 0 to " + std::to_string(max) + " expected");
        }
        return Integer(*number);
    }
    case WmiFieldKind::Int64:
        if (!value.is_string() || !IsDecimal(value.get_ref<const std::string&>())) {
            Refuse(where + ": a string of decimal digits up to 9223372036854775807 expected");
        }
        return TVariant::Text(value.get<std::string>());
    case WmiFieldKind::Boolean:
        if (!value.is_boolean()) {
            Refuse(where + ": true or false expected");
        }
        return TVariant::Boolean(value.get<bool>());
    case WmiFieldKind::Real:
        if (!value.is_number()) {
            Refuse(where + ": a number expected");
        }
        return TVariant::Real(value.get<double>());
    }
    Refuse(where + ": a property of an unknown kind");
}

// The records of one list, each property the record reads, as a load would have stored them.
TWmiClassSnapshot ReadRecords(const json& document, const char* list,
                              const std::vector<TWmiProperty>& properties) {
    const auto found = document.find(list);
    if (found == document.end()) {
        Refuse(std::string("\"") + list + "\" is missing");
    }
    if (!found->is_array()) {
        Refuse(std::string("\"") + list + "\" is not a list of records");
    }
    if (found->size() > kReportMaxRecords) {
        Refuse(std::string("\"") + list + "\" holds more than " +
               std::to_string(kReportMaxRecords) + " records");
    }
    TWmiClassSnapshot snapshot;
    snapshot.loaded = true;
    for (const TWmiProperty& property : properties) {
        snapshot.propertyNames.emplace_back(property.name);
    }
    for (std::size_t i = 0; i < found->size(); ++i) {
        const json& record = (*found)[i];
        if (!record.is_object()) {
            Refuse(std::string(list) + "[" + std::to_string(i) + "] is not a record");
        }
        auto& values = snapshot.instances.emplace_back();
        for (const TWmiProperty& property : properties) {
            const auto value = record.find(property.name);
            values.push_back(value == record.end()
                                 ? TVariant::Null()
                                 : ReadValue(*value, property.kind, Where(list, i, property.name)));
        }
    }
    return snapshot;
}

} // namespace

std::string ReportJson(const MemorySnapshot& snapshot, const MemoryView& scanned) {
    const TWin32_PhysicalMemoryArray arrays(snapshot.arrays);
    TWin32_PhysicalMemory modules(snapshot.modules);

    Document document = Document::object();
    document["arrays"] = Records(arrays, TWin32_PhysicalMemoryArray::Properties());
    Document moduleList = Records(modules, TWin32_PhysicalMemory::Properties());
    for (std::size_t k = 0; k < moduleList.size() && k < scanned.modules.size(); ++k) {
        moduleList[k]["shown"] = Shown(scanned.modules[k], modules, static_cast<std::int32_t>(k));
    }
    document["modules"] = std::move(moduleList);
    return document.dump(2, ' ', false, Document::error_handler_t::replace) + "\n";
}

MemorySnapshot SnapshotFromReportJson(std::string_view text) {
    const json document = Parse(text);
    if (!document.is_object()) {
        Refuse("the document is not a record with \"arrays\" and \"modules\"");
    }
    MemorySnapshot snapshot;
    snapshot.arrays = ReadRecords(document, "arrays", TWin32_PhysicalMemoryArray::Properties());
    snapshot.modules = ReadRecords(document, "modules", TWin32_PhysicalMemory::Properties());
    return snapshot;
}

MemorySnapshot ReadReportFile(const std::string& path) {
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    if (!file) {
        Refuse("the file cannot be opened");
    }
    if (file->Size() > kReportFileMaxBytes) {
        Refuse("the file is larger than 16 MiB");
    }
    const auto size = static_cast<std::size_t>(file->Size());
    const std::string bytes = file->ReadAt(0, size);
    if (bytes.size() != size) {
        Refuse("the file could not be read to its end");
    }
    return SnapshotFromReportJson(bytes);
}
