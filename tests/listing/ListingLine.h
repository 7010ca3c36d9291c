// Builds listing lines column by column for the tests.
#pragma once

#include <map>
#include <string>

namespace kovra::test {

class ListingLine {
public:
    // A valid sale/land line: K=1, T=1, M=1.
    ListingLine() { set(3, "1").set(4, "1").set(5, "1"); }
    ListingLine& set(int column, std::string text)
    {
        cols_[column] = std::move(text);
        return *this;
    }
    ListingLine& kind(int k, int t, int m)
    {
        return set(3, std::to_string(k)).set(4, std::to_string(t)).set(5, std::to_string(m));
    }
    // "1," followed by columns 1..101 (102 columns in all).
    std::string str() const
    {
        std::string s = "1";
        for (int c = 1; c <= 101; ++c) {
            s += ',';
            auto it = cols_.find(c);
            if (it != cols_.end())
                s += it->second;
        }
        return s;
    }

private:
    std::map<int, std::string> cols_;
};

} // namespace kovra::test
