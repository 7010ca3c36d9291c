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

namespace kovra::archive {

namespace {

// Rows a statement: a run costs more than a row, and a statement may hold
// at most a few thousand parameters (SQLite's limit is the lower).
constexpr std::size_t kParametersPerInsert = 3000;

// Moves the rows of one table that `select` gives into `to`; rows already
// there (by any key) are left as they are.
class RowCopier {
public:
    RowCopier(Store& to, const CopiedTable& table) : to_(to), table_(table)
    {
        perInsert_ = std::max<std::size_t>(1, kParametersPerInsert / table.columns.size());
    }

    std::int64_t copy(Statement& select)
    {
        std::int64_t rows = 0;
        std::unique_ptr<Statement> full;
        // The values of the rows waiting, as read.
        std::vector<std::vector<std::string>> texts;
        std::vector<std::vector<std::int64_t>> numbers;
        auto flush = [&] {
            if (texts.empty())
                return;
            std::unique_ptr<Statement> partial;
            if (texts.size() == perInsert_ && !full)
                full = insertOf(perInsert_);
            else if (texts.size() != perInsert_)
                partial = insertOf(texts.size());
            Statement& q = partial ? *partial : *full;
            q.reset();
            int p = 1;
            for (std::size_t r = 0; r < texts.size(); ++r)
                for (std::size_t c = 0; c < table_.columns.size(); ++c, ++p) {
                    switch (table_.columns[c].kind) {
                    case ColumnKind::Integer: q.bind(p, numbers[r][c]); break;
                    case ColumnKind::Text: q.bindText(p, texts[r][c]); break;
                    case ColumnKind::Bytes: q.bindBytes(p, texts[r][c]); break;
                    }
                }
            q.next();
            rows += static_cast<std::int64_t>(texts.size());
            texts.clear();
            numbers.clear();
        };
        while (select.next()) {
            auto& t = texts.emplace_back(table_.columns.size());
            auto& n = numbers.emplace_back(table_.columns.size());
            for (std::size_t c = 0; c < table_.columns.size(); ++c) {
                const int column = static_cast<int>(c);
                if (table_.columns[c].kind == ColumnKind::Integer)
                    n[c] = select.integer(column);
                else
                    t[c] = std::string(select.bytes(column));
            }
            if (texts.size() == perInsert_)
                flush();
        }
        flush();
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
    std::unique_ptr<Statement> insertOf(std::size_t rows)
    {
        std::string sql = "INSERT INTO " + std::string(table_.name) + " (";
        for (std::size_t c = 0; c < table_.columns.size(); ++c)
            sql += (c ? ", " : "") + std::string(table_.columns[c].name);
        sql += ") VALUES ";
        int p = 1;
        for (std::size_t r = 0; r < rows; ++r) {
            sql += r ? ", (" : "(";
            for (std::size_t c = 0; c < table_.columns.size(); ++c)
                sql += (c ? ", $" : "$") + std::to_string(p++);
            sql += ")";
        }
        return to_.prepare(sql + " ON CONFLICT DO NOTHING");
    }

    Store& to_;
    const CopiedTable& table_;
    std::size_t perInsert_ = 1;
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
                auto q = from.prepare(copier.selectText(false));
                reading = false;
                out.rows += copier.copy(*q);
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
