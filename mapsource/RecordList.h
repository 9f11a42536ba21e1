#pragma once

// The shape shared by the 'W', 'T' and 'L' record lists: the run of records of one type letter,
// each with its parsed view. A list supplies its view type and its ParseView; reading the run and
// emitting it are written here once. A list names itself as `Derived` so that the run reaches its
// ParseView, which for 'W' depends on the file's version, without a virtual call: a list's only
// virtual operation is its destructor.

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string_view>

#include "mapsource/MpsHeader.h"
#include "mapsource/MpsRecord.h"

namespace pelagor {

// An array made once at its final length, zero-filled; empty when out of memory.
template <typename T>
std::unique_ptr<T[]> NewArray(std::size_t length) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[length]());
}

// The most records a run may hold, and the rule that a longer run breaks.
struct RunLimit {
    std::size_t records = static_cast<std::size_t>(-1);
    std::string_view rule;
};

template <typename Derived, typename View, std::uint8_t Type>
class RecordList {
public:
    static constexpr std::uint8_t kType = Type;

    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    RecordList(RecordList&&) = delete;
    RecordList& operator=(RecordList&&) = delete;
    virtual ~RecordList() = default;

    // Reads the run of records of this list's type that begins at the cursor and parses each into
    // its view. A record that cannot be read ends the run without failing; an empty run consumes
    // nothing. Each record is checked as the run is counted, before anything is made for the run:
    // a record that is no view of this list fails it, and so does a record past `limit`. A
    // fault's record index counts from the first record of the run.
    bool ParseList(ReadCursor& cursor, MpsFault* fault = nullptr, const RunLimit& limit = {}) {
        const std::size_t start = cursor.position();
        const auto length = CountRun(cursor, fault, limit);
        if (!length) {
            return false;
        }
        if (*length == 0) {
            return true;
        }
        auto newRecords = NewArray<MpsRecord>(*length);
        if (!newRecords) {
            return Fault(fault, 0, start, "out of memory for the records");
        }
        records = std::move(newRecords);
        recordCount = static_cast<std::int32_t>(*length);
        for (std::size_t index = 0; index < *length; ++index) {
            const std::size_t offset = cursor.position();
            std::string_view rule;
            if (!ReadRecord(cursor, records[index], &rule)) {
                return Fault(fault, index, offset, rule);
            }
        }
        views = NewArray<View>(*length);
        if (!views) {
            return Fault(fault, 0, start, "out of memory for the views");
        }
        for (std::size_t index = 0; index < *length; ++index) {
            // The bytes checked while counting, now the record's own: they parse again.
            Guaranteed(Self().ParseView(records[index].Body(), views[index]));
        }
        return true;
    }

    // Emits the records in order; fails at the first record without a body.
    bool EmitAll(RecordCursor& cursor) const {
        for (const MpsRecord& record : Records()) {
            if (!EmitRecord(cursor, record)) {
                return false;
            }
        }
        return true;
    }

    [[nodiscard]] std::span<const MpsRecord> Records() const {
        return {records.get(), static_cast<std::size_t>(recordCount)};
    }
    [[nodiscard]] std::span<const View> Views() const {
        return {views.get(), views ? static_cast<std::size_t>(recordCount) : 0U};
    }

    std::int32_t recordCount = 0;
    std::unique_ptr<MpsRecord[]> records;
    std::unique_ptr<View[]> views;

private:
    [[nodiscard]] const Derived& Self() const { return static_cast<const Derived&>(*this); }

    // The number of consecutive readable records of this type from the cursor on, each parsed in
    // the file's own bytes, found without moving the cursor; empty when one fails.
    std::optional<std::size_t> CountRun(const ReadCursor& cursor, MpsFault* fault,
                                        const RunLimit& limit) const {
        ReadCursor next = cursor;
        std::size_t count = 0;
        View scratch;
        for (std::size_t offset = next.position();; offset = next.position(), ++count) {
            const auto body = NextBody(next, Type);
            if (!body) {
                return count;
            }
            std::string_view rule;
            if (!Self().ParseView(*body, scratch, &rule)) {
                Fault(fault, count, offset, rule);
                return std::nullopt;
            }
            if (count == limit.records) {
                Fault(fault, count, offset, limit.rule);
                return std::nullopt;
            }
        }
    }

    static bool Fault(MpsFault* fault, std::size_t index, std::size_t offset,
                      std::string_view rule) {
        if (fault != nullptr) {
            *fault = {index, offset, Type, true, rule};
        }
        return false;
    }
};

}  // namespace pelagor
