// The archive's small shared parts: a transaction that undoes itself, an
// import's writing without reference checks, and how a store's failure
// reads for the user.
#pragma once

#include "ArchiveStore.h"

#include <string>
#include <string_view>

namespace kovra::archive {

// A transaction that is rolled back unless committed.
class Transaction {
public:
    Transaction(Store& store, bool write) : store_(store) { store_.begin(write); }
    ~Transaction()
    {
        if (!done_)
            store_.rollback();
    }
    void commit()
    {
        store_.commit();
        done_ = true;
    }

private:
    Store& store_;
    bool done_ = false;
};

// An import's rows go without a check of their references, for the time of
// its transaction (made after this, so ended before it): they refer only to
// rows the archive held when its write lock was taken or wrote in that
// transaction, by ids it gives itself, and SQLite's check of each one cost a
// tenth of a big import.  Everything else is checked.
class ImportChecksOff {
public:
    explicit ImportChecksOff(Store& store) : store_(store) { store_.checkReferences(false); }
    ~ImportChecksOff()
    {
        try {
            store_.checkReferences(true);
        } catch (const StoreError&) {
            // A store that cannot take a setting now fails its next statement too.
        }
    }
    ImportChecksOff(const ImportChecksOff&) = delete;
    ImportChecksOff& operator=(const ImportChecksOff&) = delete;

private:
    Store& store_;
};

// The reason in a message's parentheses.
std::string_view ReasonText(const StoreError& e);
// The message of a failed read (or open) and of a failed write; a server
// out of reach is named as such, whatever the call was doing.
std::string CannotRead(std::string_view location, const StoreError& e);
std::string CannotWrite(std::string_view location, const StoreError& e);

} // namespace kovra::archive
