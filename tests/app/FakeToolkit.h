#pragma once

// A toolkit without a window: it logs the dialog's calls and answers file dialogs as set.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogToolkit.h"

namespace pelagor::app::testing {

class FakeToolkit final : public DialogToolkit {
public:
    void SetFieldText(ControlId field, std::string_view text) override {
        fields[field] = text;
        calls.push_back("set " + std::to_string(static_cast<int>(field)));
    }
    std::string FieldText(ControlId field) override { return fields[field]; }
    std::string FieldTextBounded(ControlId field) override {
        return fields[field].substr(0, kBoundedFieldLength);
    }
    void ResetList() override {
        list.clear();
        calls.emplace_back("reset list");
    }
    void AppendListLine(std::string_view line) override { list.emplace_back(line); }
    void ShowList() override {}
    void ShowCount(ControlId count, std::int32_t value) override {
        counts[count] = std::to_string(value);
        calls.push_back("count " + std::to_string(static_cast<int>(count)));
    }
    std::optional<std::string> RunOpenFileDialog(const FileDialogRequest& request) override {
        calls.push_back("open " + std::string(request.filter));
        return openAnswer;
    }
    std::optional<FileDialogChoice> RunSaveFileDialog(const FileDialogRequest& request) override {
        calls.push_back("save " + request.startLocation + " " +
                        std::string(request.defaultExtension));
        saveFilter = request.filter;
        if (!saveAnswer) {
            return std::nullopt;
        }
        return FileDialogChoice{*saveAnswer, saveType};
    }
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) override {
        calls.push_back("read " + std::string(key));
        const auto found = profile.find(std::string(section) + "/" + std::string(key));
        return found == profile.end() ? std::string(defaultValue) : found->second;
    }
    void WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override {
        profile[std::string(section) + "/" + std::string(key)] = value;
        calls.push_back("write " + std::string(key));
    }
    void ShowMessage(std::string_view text) override {
        calls.push_back("message " + std::string(text));
    }
    void EndDialogOk() override { calls.emplace_back("end ok"); }
    void SetWindowIcon(IconSize size) override {
        calls.emplace_back(size == IconSize::Large ? "large icon" : "small icon");
    }

    std::map<ControlId, std::string> fields;
    std::vector<std::string> list;
    std::map<ControlId, std::string> counts;     // a count never shown is empty
    std::map<std::string, std::string> profile;  // "Dialog/WTRFile" and so on
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    std::size_t saveType = 0;  // the type selected along with saveAnswer
    std::string saveFilter;    // the filter the last save dialog offered
    std::vector<std::string> calls;
};

}  // namespace pelagor::app::testing
