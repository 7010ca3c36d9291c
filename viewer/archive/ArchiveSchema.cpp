#include "ArchiveSchema.h"

namespace kovra::archive {

namespace {

// 1: the imports, the listings, their texts and which listing each import held.
//   imports     one per imported file; its bytes' SHA-256 is unique, so a
//               file is imported once
//   listings    one per listing number
//   text_blocks the texts of the versions an import stored, compressed
//               together (texts of one file compress far better than alone)
//   versions    a listing's 94 texts, stored again only when they differ
//               from its last stored ones (its highest id); `digest` is
//               their SHA-256
//   presence    one small row per listing per import: which version, at
//               which place in the file
constexpr std::string_view kSchema1 = R"(
CREATE TABLE archive_schema (version BIGINT NOT NULL);
INSERT INTO archive_schema (version) VALUES (0);
CREATE TABLE imports (
  id {id},
  content_sha256 {bytes} NOT NULL UNIQUE,
  series TEXT NOT NULL,
  search_date TEXT NOT NULL,
  imported_at TEXT NOT NULL,
  file_name TEXT NOT NULL,
  listing_count BIGINT NOT NULL
);
CREATE INDEX imports_by_date ON imports (search_date, id);
CREATE TABLE listings (
  id {id},
  number TEXT NOT NULL UNIQUE
);
CREATE TABLE text_blocks (
  id {id},
  import_id BIGINT NOT NULL REFERENCES imports (id),
  texts {bytes} NOT NULL
);
CREATE TABLE versions (
  id {id},
  listing_id BIGINT NOT NULL REFERENCES listings (id),
  import_id BIGINT NOT NULL REFERENCES imports (id),
  block_id BIGINT NOT NULL REFERENCES text_blocks (id),
  block_offset BIGINT NOT NULL,
  digest {bytes} NOT NULL
);
CREATE INDEX versions_by_listing ON versions (listing_id);
CREATE TABLE presence (
  import_id BIGINT NOT NULL REFERENCES imports (id),
  version_id BIGINT NOT NULL REFERENCES versions (id),
  ordinal BIGINT NOT NULL,
  PRIMARY KEY (import_id, version_id)
){without_rowid};
)";

// 2: notes on listings, append-only, each with its author and time.
constexpr std::string_view kSchema2 = R"(
CREATE TABLE notes (
  id {id},
  listing_id BIGINT NOT NULL REFERENCES listings (id),
  written_at TEXT NOT NULL,
  author TEXT NOT NULL,
  body TEXT NOT NULL
);
CREATE INDEX notes_by_listing ON notes (listing_id, id);
)";

// 3: where a store checks each reference by a query of its own, the rows
//   an import writes by the hundred thousand go without theirs.
constexpr std::string_view kSchema3 = "{bulk_references_off}";

// 4: where a store wants it, an index of presence by version (a listing's life).
constexpr std::string_view kSchema4 = "{presence_by_version}";

// 5: where a store would pack the packed texts again, it keeps them as they are.
constexpr std::string_view kSchema5 = "{blocks_as_they_are}";

constexpr std::string_view kMigrations[] = {kSchema1, kSchema2, kSchema3, kSchema4, kSchema5};

// The tables of the schema above as a copy moves them (notes aside).
using K = ColumnKind;
constexpr CopiedColumn kImports[] = {{"id", K::Integer},         {"content_sha256", K::Bytes}, {"series", K::Text},
                                     {"search_date", K::Text},   {"imported_at", K::Text},     {"file_name", K::Text},
                                     {"listing_count", K::Integer}};
constexpr CopiedColumn kListings[] = {{"id", K::Integer}, {"number", K::Text}};
constexpr CopiedColumn kTextBlocks[] = {{"id", K::Integer}, {"import_id", K::Integer}, {"texts", K::Bytes}};
constexpr CopiedColumn kVersions[] = {{"id", K::Integer},        {"listing_id", K::Integer},   {"import_id", K::Integer},
                                      {"block_id", K::Integer},  {"block_offset", K::Integer}, {"digest", K::Bytes}};
constexpr CopiedColumn kPresence[] = {{"import_id", K::Integer}, {"version_id", K::Integer}, {"ordinal", K::Integer}};
constexpr CopiedTable kCopied[] = {
    {"imports", kImports, "id", true},
    {"listings", kListings, "", true},
    {"text_blocks", kTextBlocks, "import_id", true},
    {"versions", kVersions, "import_id", true},
    {"presence", kPresence, "import_id", false},
};

void Replace(std::string& text, std::string_view what, std::string_view with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

} // namespace

std::span<const std::string_view> Migrations() { return kMigrations; }
std::span<const CopiedTable> CopiedTables() { return kCopied; }

std::string SchemaText(std::string_view migration, const Dialect& dialect)
{
    std::string text(migration);
    Replace(text, "{id}", dialect.id);
    Replace(text, "{bytes}", dialect.bytes);
    Replace(text, "{without_rowid}", dialect.withoutRowid);
    Replace(text, "{bulk_references_off}", dialect.bulkReferencesOff);
    Replace(text, "{presence_by_version}", dialect.presenceByVersion);
    Replace(text, "{blocks_as_they_are}", dialect.blocksAsTheyAre);
    return text;
}

int ReadSchemaVersion(Store& store)
{
    if (!store.hasTable("archive_schema")) {
        if (store.holdsOtherData())
            throw StoreError(Failure::Corrupt, "not an archive");
        return 0;
    }
    auto q = store.prepare("SELECT version FROM archive_schema");
    if (!q->next())
        throw StoreError(Failure::Corrupt, "no schema version");
    return static_cast<int>(q->integer(0));
}

void Migrate(Store& store, int version)
{
    const int found = ReadSchemaVersion(store);
    if (found > LatestSchemaVersion())
        throw StoreError(Failure::NewerSchema, "newer schema");
    store.settle();
    if (found >= version)
        return;
    store.begin(true);
    try {
        const int current = ReadSchemaVersion(store);
        for (int v = current + 1; v <= version; ++v) {
            const std::string text = SchemaText(Migrations()[static_cast<std::size_t>(v - 1)], store.dialect());
            if (!text.empty()) // a migration that changes nothing in this store
                store.execute(text);
            auto q = store.prepare("UPDATE archive_schema SET version = $1");
            q->bind(1, v);
            q->next();
        }
        store.commit();
    } catch (...) {
        store.rollback();
        throw;
    }
}

} // namespace kovra::archive
