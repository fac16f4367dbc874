#pragma once
// Names for the rows of a parameterized test, so that a failure says which row it was.

#include <gtest/gtest.h>

#include <string>

namespace grovex {

// The row's own `name`.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return std::string(row.param.name);
    }
};

// "case0", "case1", ...: the row's place in a table whose rows have no name.
struct RowNumber {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return "case" + std::to_string(row.index);
    }
};

} // namespace grovex
