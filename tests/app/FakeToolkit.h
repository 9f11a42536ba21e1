#pragma once

// A toolkit without a window: it records what the dialog shows and answers the file dialogs
// from queues the test fills.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogToolkit.h"

namespace pelagor::app::testing {

struct RecordedFileDialog {
    std::string filter;
    std::uint32_t flags = 0;
    std::string startLocation;
    std::string defaultExtension;
};

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
        return Answer(openDialogs, openAnswers, request, "open dialog");
    }
    std::optional<std::string> RunSaveFileDialog(const FileDialogRequest& request) override {
        return Answer(saveDialogs, saveAnswers, request, "save dialog");
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
    void EndDialogOk() override {
        endedOk = true;
        Log("end ok");
    }
    void SetWindowIcon(IconSize size) override {
        Log(size == IconSize::Large ? "large icon" : "small icon");
    }

    // A count never set is blank.
    std::string CountText(ControlId count) const {
        const auto found = counts.find(count);
        return found == counts.end() ? std::string() : found->second;
    }

    std::map<ControlId, std::string> fields;
    std::vector<std::string> list;
    std::map<ControlId, std::string> counts;
    std::map<std::string, std::string> profile;  // "Dialog/WTRFile" and so on
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<RecordedFileDialog> openDialogs;
    std::vector<RecordedFileDialog> saveDialogs;
    std::vector<std::string> calls;  // in order
    bool endedOk = false;

private:
    void Log(std::string call) { calls.push_back(std::move(call)); }

    std::optional<std::string> Answer(std::vector<RecordedFileDialog>& shown,
                                      std::deque<std::optional<std::string>>& answers,
                                      const FileDialogRequest& request, std::string call) {
        shown.push_back({std::string(request.filter), request.flags, request.startLocation,
                         std::string(request.defaultExtension)});
        Log(std::move(call));
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace pelagor::app::testing
