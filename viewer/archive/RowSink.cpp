// Rows written through INSERTs of many rows each: a statement's run costs
// more than a row, so a few statements carry many rows.
#include "ArchiveStore.h"

#include <algorithm>
#include <utility>

namespace kovra::archive {

namespace {

// Parameters a statement: far below every store's limit (SQLite's is the
// lowest).
constexpr std::size_t kParametersPerInsert = 3000;

class InsertSink : public RowSink {
public:
    InsertSink(Store& store, std::string_view table, const std::vector<std::string_view>& columns)
        : store_(store), columns_(columns.size())
    {
        if (columns_ == 0)
            throw StoreError(Failure::Other, "rows without columns");
        head_ = "INSERT INTO " + std::string(table) + " (";
        for (std::size_t c = 0; c < columns.size(); ++c)
            head_ += (c ? ", " : "") + std::string(columns[c]);
        head_ += ") VALUES ";
        perInsert_ = std::max<std::size_t>(1, kParametersPerInsert / columns_);
    }

    void add(std::int64_t value) override { values_.push_back({Kind::Integer, value, 0}); }
    void addText(std::string_view text) override { keep(Kind::Text, text); }
    void addBytes(std::string_view bytes) override { keep(Kind::Bytes, bytes); }
    std::size_t waiting() const override { return values_.size() / columns_; }

    void flush() override
    {
        std::vector<Value> values;
        values.swap(values_);
        std::string texts;
        texts.swap(texts_);
        if (values.size() % columns_ != 0)
            throw StoreError(Failure::Other, "a row without all its values");
        const std::size_t rows = values.size() / columns_;
        for (std::size_t at = 0; at < rows; at += perInsert_) {
            const std::size_t n = std::min(perInsert_, rows - at);
            std::unique_ptr<Statement> partial;
            if (n == perInsert_ && !full_)
                full_ = insertOf(n);
            else if (n != perInsert_)
                partial = insertOf(n);
            Statement& q = partial ? *partial : *full_;
            q.reset();
            for (std::size_t i = 0; i < n * columns_; ++i) {
                const Value& v = values[at * columns_ + i];
                const int p = static_cast<int>(i + 1);
                const std::string_view text = std::string_view(texts).substr(v.at, static_cast<std::size_t>(v.number));
                switch (v.kind) {
                case Kind::Integer: q.bind(p, v.number); break;
                case Kind::Text: q.bindText(p, text); break;
                case Kind::Bytes: q.bindBytes(p, text); break;
                }
            }
            q.next();
        }
    }

private:
    enum class Kind { Integer, Text, Bytes };
    // An integer, or where a text stands in texts_ (`number` its length).
    struct Value {
        Kind kind;
        std::int64_t number;
        std::size_t at;
    };

    void keep(Kind kind, std::string_view text)
    {
        values_.push_back({kind, static_cast<std::int64_t>(text.size()), texts_.size()});
        texts_.append(text);
    }

    std::unique_ptr<Statement> insertOf(std::size_t rows)
    {
        std::string sql = head_;
        int p = 1;
        for (std::size_t r = 0; r < rows; ++r) {
            sql += r ? ", (" : "(";
            for (std::size_t c = 0; c < columns_; ++c)
                sql += (c ? ", $" : "$") + std::to_string(p++);
            sql += ")";
        }
        return store_.prepare(sql);
    }

    Store& store_;
    std::size_t columns_;
    std::size_t perInsert_ = 1;
    std::string head_;
    std::vector<Value> values_;
    std::string texts_; // the texts of the waiting rows, one after another
    std::unique_ptr<Statement> full_;
};

} // namespace

std::unique_ptr<RowSink> Store::rowSink(std::string_view table, const std::vector<std::string_view>& columns)
{
    return std::make_unique<InsertSink>(*this, table, columns);
}

} // namespace kovra::archive
