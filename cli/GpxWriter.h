#pragma once

// Writes documents as one GPX 1.1 file: all waypoints of every document first, in document
// order, then all tracks. Points that a strict reader would refuse are left out, each with a
// warning that names it.

#include <ostream>
#include <string>
#include <string_view>

#include "tracklog/TrackLogDocument.h"

namespace pelagor::cli {

class GpxWriter {
public:
    // `encoding` is the code page of the names; `warnings` receives one line per point left out.
    GpxWriter(std::string_view encoding, std::ostream& warnings);

    void Begin(std::string_view creator);
    // `label` names the document in warnings (its file name).
    void AddWaypoints(const TrackLogDocument& document, std::string_view label);
    void AddTracks(const TrackLogDocument& document, std::string_view label);
    void End();

    [[nodiscard]] const std::string& text() const { return m_text; }

private:
    [[nodiscard]] std::string Name(std::string_view bytes) const;
    void Element(std::string_view indent, std::string_view tag, std::string_view text);

    std::string m_encoding;
    std::ostream& m_warnings;
    std::string m_text;
};

}  // namespace pelagor::cli
