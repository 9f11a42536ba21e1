#pragma once

// A toolkit without a window: it logs what the dialog does, in order, and answers the file
// dialogs as the test set them (none: cancelled).

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogToolkit.h"

namespace pelagor::app::testing {

class FakeToolkit final : public DialogToolkit {
public:
    void SetFieldText(ControlId field, std::string_view text) override {
        fields[field] = std::string(text);
        Log("set " + std::to_string(static_cast<int>(field)));
    }
    std::string FieldText(ControlId field) override { return fields[field]; }
    std::string FieldTextBounded(ControlId field) override {
        return fields[field].substr(0, kBoundedFieldLength);
    }
    void ResetList() override {
        list.clear();
        Log("reset list");
    }
    void AppendListLine(std::string_view line) override { list.emplace_back(line); }
    void ShowCount(ControlId count, std::int32_t value) override {
        counts[count] = std::to_string(value);
        Log("count " + std::to_string(static_cast<int>(count)));
    }
    std::optional<std::string> RunOpenFileDialog(const FileDialogRequest& request) override {
        openFilters.emplace_back(request.filter);
        Log("open dialog");
        return openAnswer;
    }
    std::optional<std::string> RunSaveFileDialog(const FileDialogRequest& request) override {
        saveStart = request.startLocation;
        saveExtension = request.defaultExtension;
        Log("save dialog");
        return saveAnswer;
    }
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) override {
        Log("read " + std::string(key));
        const auto found = profile.find(std::string(section) + "/" + std::string(key));
        return found == profile.end() ? std::string(defaultValue) : found->second;
    }
    void WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override {
        profile[std::string(section) + "/" + std::string(key)] = std::string(value);
        Log("write " + std::string(key));
    }
    void EndDialogOk() override { Log("end ok"); }
    void SetWindowIcon(IconSize size) override {
        Log(size == IconSize::Large ? "large icon" : "small icon");
    }

    std::map<ControlId, std::string> fields;
    std::vector<std::string> list;
    std::map<ControlId, std::string> counts;     // a count never shown is absent
    std::map<std::string, std::string> profile;  // "Dialog/WTRFile" and so on
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    std::vector<std::string> openFilters;
    std::string saveStart;
    std::string saveExtension;
    std::vector<std::string> calls;

private:
    void Log(std::string call) { calls.push_back(std::move(call)); }
};

}  // namespace pelagor::app::testing
