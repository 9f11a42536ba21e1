#include "cli/SourceFailure.h"

namespace pelagor::cli {

std::string DescribeSourceFailure(const SourceLoadReport& report) {
    std::string text;
    if (!report.wtrReason.empty()) {
        // The signature failure already says what it means; others need the reader named.
        if (!report.wtrReason.starts_with("not a WTR file")) {
            text += "WTR: ";
        }
        text += report.wtrReason;
    }
    if (!report.evoReason.empty()) {
        if (!text.empty()) {
            text += "; ";
        }
        text += "EVO: " + report.evoReason;
    }
    return text.empty() ? "not a WTR or EVO file" : text;
}

}  // namespace pelagor::cli
