// The archive's small shared parts: a transaction that undoes itself,
// and how a store's failure reads for the user.
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

// The reason in a message's parentheses.
std::string_view ReasonText(const StoreError& e);
// The message of a failed read (or open) and of a failed write; a server
// out of reach is named as such, whatever the call was doing.
std::string CannotRead(std::string_view location, const StoreError& e);
std::string CannotWrite(std::string_view location, const StoreError& e);

} // namespace kovra::archive
