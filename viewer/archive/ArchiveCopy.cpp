// A whole archive into another store (a desktop's file onto the office
// server, and back): the rows as they are, ids and all, so that import
// numbers stay what the brokers know them by.
#include "Archive.h"

#include "ArchiveFailures.h"
#include "ArchiveSchema.h"

#include "MessageTexts.h"

#include <map>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace kovra::archive {

namespace {

// Rows handed to the target at a time.
constexpr std::size_t kRowsPerWrite = 8192;

// Moves the rows of one table that `select` gives into `to`, in bulk.
class RowCopier {
public:
    RowCopier(Store& to, const CopiedTable& table) : table_(table)
    {
        std::vector<std::string_view> columns;
        for (const CopiedColumn& c : table.columns)
            columns.push_back(c.name);
        sink_ = to.rowSink(table.name, columns);
    }

    // Rows whose id (the first column) is in `skip` stay out.
    std::int64_t copy(Statement& select, const std::unordered_set<std::int64_t>& skip = {})
    {
        std::int64_t rows = 0;
        while (select.next()) {
            if (!skip.empty() && skip.count(select.integer(0)))
                continue;
            for (std::size_t c = 0; c < table_.columns.size(); ++c) {
                const int column = static_cast<int>(c);
                switch (table_.columns[c].kind) {
                case ColumnKind::Integer: sink_->add(select.integer(column)); break;
                case ColumnKind::Text: sink_->addText(select.text(column)); break;
                case ColumnKind::Bytes: sink_->addBytes(select.bytes(column)); break;
                }
            }
            ++rows;
            if (sink_->waiting() >= kRowsPerWrite)
                sink_->flush();
        }
        sink_->flush();
        return rows;
    }

    std::string selectText(bool oneImport) const
    {
        std::string sql = "SELECT ";
        for (std::size_t c = 0; c < table_.columns.size(); ++c)
            sql += (c ? ", " : "") + std::string(table_.columns[c].name);
        sql += " FROM " + std::string(table_.name);
        if (oneImport)
            sql += " WHERE " + std::string(table_.importColumn) + " = $1";
        return sql;
    }

private:
    const CopiedTable& table_;
    std::unique_ptr<RowSink> sink_;
};

// A note as a copy tells notes apart: two alike are two.
using NoteKey = std::tuple<std::string, std::string, std::string, std::string>; // number, time, author, text

std::multiset<NoteKey> NotesOf(Store& s)
{
    std::multiset<NoteKey> all;
    auto q = s.prepare("SELECT l.number, n.written_at, n.author, n.body FROM notes n JOIN listings l ON l.id = n.listing_id");
    while (q->next())
        all.emplace(std::string(q->text(0)), std::string(q->text(1)), std::string(q->text(2)), std::string(q->text(3)));
    return all;
}

} // namespace

CopyOutcome Archive::copyInto(Archive& target)
{
    CopyOutcome out;
    Store& from = *store_;
    Store& to = *target.store_;
    if (from.isStoreFile(to.location()) || to.isStoreFile(from.location())) {
        out.message = msg::OutputIsInput(to.location());
        return out;
    }
    bool reading = true;
    try {
        Transaction read(from, false);
        std::map<std::int64_t, std::string> imports; // id -> the bytes' digest
        {
            auto q = from.prepare("SELECT id, content_sha256 FROM imports ORDER BY id");
            while (q->next())
                imports.emplace(q->integer(0), std::string(q->bytes(1)));
        }
        reading = false;
        Transaction write(to, true);
        reading = true;
        {
            // The target holds nothing of its own: else its rows and ours
            // would share ids.
            auto q = to.prepare("SELECT id, content_sha256 FROM imports ORDER BY id");
            while (q->next()) {
                const auto it = imports.find(q->integer(0));
                if (it == imports.end() || it->second != q->bytes(1)) {
                    out.message = msg::CopyTargetDiffers(to.location(), q->integer(0));
                    return out;
                }
                imports.erase(it);
            }
        }
        for (const CopiedTable& table : CopiedTables()) {
            RowCopier copier(to, table);
            if (table.importColumn.empty()) {
                // A table of every import (the listings): the rows the
                // target holds already stay as they are.
                reading = false;
                std::unordered_set<std::int64_t> there;
                auto held = to.prepare("SELECT id FROM " + std::string(table.name));
                while (held->next())
                    there.insert(held->integer(0));
                reading = true;
                auto q = from.prepare(copier.selectText(false));
                reading = false;
                out.rows += copier.copy(*q, there);
                reading = true;
                continue;
            }
            auto q = from.prepare(copier.selectText(true));
            for (const auto& [id, digest] : imports) {
                q->reset();
                q->bind(1, id);
                reading = false;
                out.rows += copier.copy(*q);
                reading = true;
            }
        }
        out.imports = static_cast<int>(imports.size());

        std::multiset<NoteKey> there = NotesOf(to);
        std::unordered_map<std::string, std::int64_t> listingIds;
        {
            auto q = to.prepare("SELECT id, number FROM listings");
            while (q->next())
                listingIds.emplace(std::string(q->text(1)), q->integer(0));
        }
        auto add = to.prepare("INSERT INTO notes (listing_id, written_at, author, body) VALUES ($1, $2, $3, $4)");
        auto q = from.prepare("SELECT l.number, n.written_at, n.author, n.body FROM notes n "
                              "JOIN listings l ON l.id = n.listing_id ORDER BY n.id");
        while (q->next()) {
            NoteKey key{std::string(q->text(0)), std::string(q->text(1)), std::string(q->text(2)), std::string(q->text(3))};
            if (const auto it = there.find(key); it != there.end()) {
                there.erase(it);
                continue;
            }
            reading = false;
            add->reset();
            add->bind(1, listingIds.at(std::get<0>(key)));
            add->bindText(2, std::get<1>(key));
            add->bindText(3, std::get<2>(key));
            add->bindText(4, std::get<3>(key));
            add->next();
            reading = true;
            ++out.notes;
            ++out.rows;
        }
        reading = false;
        for (const CopiedTable& table : CopiedTables())
            if (table.numbered)
                to.idsGiven(table.name);
        to.idsGiven("notes");
        write.commit();
        out.ok = true;
    } catch (const StoreError& e) {
        out = CopyOutcome{};
        out.message = reading ? CannotRead(from.location(), e) : CannotWrite(to.location(), e);
    }
    return out;
}

} // namespace kovra::archive
