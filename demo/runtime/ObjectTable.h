// A numbered object table: numbers are chosen by the caller, slots grow on
// demand, and a record once made is kept (zeroed) for the next object under
// its number.
#pragma once

#include <memory>
#include <vector>

// Numbers beyond this are refused rather than growing the slot array to
// gigabytes for one careless call.
inline constexpr int kMaxObjectNumber = (1 << 20) - 1;

// Record must be default-constructible (that is its zeroed state) and have a
// first field `handle` that converts to bool: an empty handle is an empty slot.
template <typename Record>
class ObjectTable {
  public:
    // Releases whatever lives under a number; it ends by calling Release.
    using FreeOperation = void (*)(int number);

    ObjectTable(int growthStep, FreeOperation freeOperation)
        : growthStep(growthStep), freeOperation(freeOperation), slots(growthStep) {}
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;

    // The record to fill for a new object under number. An object already
    // there is released first and its record reused. Null for numbers the
    // table cannot hold (negative: dynamic numbering is not offered).
    Record* Take(int number) {
        if (number < 0 || number > kMaxObjectNumber) {
            return nullptr;
        }
        if (number >= Capacity()) {
            slots.resize(static_cast<std::size_t>(number) + growthStep);
        }
        std::unique_ptr<Record>& slot = slots[number];
        if (!slot) {
            slot = std::make_unique<Record>();
        } else if (slot->handle) {
            freeOperation(number);
        }
        return slot.get();
    }

    // The live record under number, or null.
    Record* Find(int number) const {
        if (number < 0 || number >= Capacity()) {
            return nullptr;
        }
        Record* record = slots[number].get();
        return record != nullptr && record->handle ? record : nullptr;
    }

    // Zeroes the record and keeps it for reuse.
    void Release(int number) {
        if (number >= 0 && number < Capacity() && slots[number]) {
            *slots[number] = Record{};
        }
    }

    // Runs the free operation on every live number.
    void ReleaseAll() {
        for (int number = 0; number < Capacity(); ++number) {
            if (Find(number) != nullptr) {
                freeOperation(number);
            }
        }
    }

    // The number of the first live record for which match is true, or -1.
    template <typename Match>
    int FindNumber(Match match) const {
        for (int number = 0; number < Capacity(); ++number) {
            const Record* record = Find(number);
            if (record != nullptr && match(*record)) {
                return number;
            }
        }
        return -1;
    }

    int Capacity() const { return static_cast<int>(slots.size()); }

  private:
    int growthStep;
    FreeOperation freeOperation;
    std::vector<std::unique_ptr<Record>> slots;
};
