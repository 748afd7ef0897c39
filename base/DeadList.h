#pragma once

#include <cstddef>
#include <vector>

// Walks a list of owned records that end by setting `dead`: a dead record is swapped out
// with the last one, shrinks the list and is deleted (out of the list before its destructor
// runs), and the same slot is examined again; every live record is handed to `visit`.
// The count is read afresh at every index, since a visit may append records; nothing is
// held across a visit but the index. The order of the list is therefore not stable.
template <class Record, class Visit>
void VisitLiveRemovingDead(std::vector<Record*>& records, Visit&& visit)
{
    for (std::size_t index = 0; index < records.size();) {
        Record* record = records[index];
        if (record->dead) {
            records[index] = records.back();
            records.pop_back();
            delete record;
            continue;
        }
        visit(record);
        ++index;
    }
}
