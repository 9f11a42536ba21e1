#pragma once

// The shape shared by the 'W', 'T' and 'L' record lists: the run of records of one type letter,
// each with its parsed view. A list supplies its view type and its ParseView; reading the run and
// emitting it are written here once. A list names itself as `Derived` so that the run reaches its
// ParseView, which for 'W' depends on the file's version, without a virtual call: a list's only
// virtual operation is its destructor.

#include <cstdint>
#include <memory>
#include <new>
#include <span>

#include "mapsource/MpsHeader.h"
#include "mapsource/MpsRecord.h"

namespace pelagor {

// An array made once at its final length, zero-filled; empty when out of memory.
template <typename T>
std::unique_ptr<T[]> NewArray(std::size_t length) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[length]());
}

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
    // nothing. A fault's record index counts from the first record of the run.
    bool ParseList(ReadCursor& cursor, MpsFault* fault = nullptr) {
        const std::size_t start = cursor.position();
        const std::size_t length = CountRun(cursor);
        if (length == 0) {
            return true;
        }
        auto newRecords = NewArray<MpsRecord>(length);
        if (!newRecords) {
            return Fault(fault, 0, start, Type, "out of memory for the records");
        }
        records = std::move(newRecords);
        recordCount = static_cast<std::int32_t>(length);
        for (std::size_t index = 0; index < length; ++index) {
            const std::size_t offset = cursor.position();
            std::string_view rule;
            if (!ReadRecord(cursor, records[index], &rule)) {
                return Fault(fault, index, offset, records[index].type, rule);
            }
        }
        views = NewArray<View>(length);
        if (!views) {
            return Fault(fault, 0, start, Type, "out of memory for the views");
        }
        return ParseViews(start, fault);
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

protected:
    // Takes over rebuilt records: the previous records and views are released, and every new
    // record is parsed into a new view. Fails (keeping the list) when the views cannot be made.
    bool ReplaceRecords(std::unique_ptr<MpsRecord[]> newRecords, std::size_t length) {
        auto newViews = NewArray<View>(length);
        if (length != 0 && !newViews) {
            return false;
        }
        records = std::move(newRecords);
        views = std::move(newViews);
        recordCount = static_cast<std::int32_t>(length);
        return ParseViews(0, nullptr);
    }

    // Takes over rebuilt records together with the views the rebuild made for them.
    void ReplaceRecords(std::unique_ptr<MpsRecord[]> newRecords, std::unique_ptr<View[]> newViews,
                        std::size_t length) {
        records = std::move(newRecords);
        views = std::move(newViews);
        recordCount = static_cast<std::int32_t>(length);
    }

private:
    // The number of consecutive readable records of this type from the cursor on, found without
    // moving the cursor.
    static std::size_t CountRun(const ReadCursor& cursor) {
        ReadCursor scratch = cursor;
        return SkipRun(scratch, Type);
    }

    bool ParseViews(std::size_t start, MpsFault* fault) {
        std::size_t offset = start;
        for (std::size_t index = 0; index < static_cast<std::size_t>(recordCount); ++index) {
            std::string_view rule;
            if (!static_cast<Derived&>(*this).ParseView(records[index], views[index], &rule)) {
                return Fault(fault, index, offset, records[index].type, rule);
            }
            offset += kFrameSize + records[index].length;
        }
        return true;
    }

    static bool Fault(MpsFault* fault, std::size_t index, std::size_t offset, std::uint8_t type,
                      std::string_view rule) {
        if (fault != nullptr) {
            *fault = {index, offset, type, true, rule};
        }
        return false;
    }
};

}  // namespace pelagor
