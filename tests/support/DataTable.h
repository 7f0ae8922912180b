#pragma once

#include <QTest>

#include <initializer_list>
#include <utility>

namespace zelvo::test {

template <typename> using ColumnName = const char*;

// Declares a data table's columns: a name for each type, in order, so that a missing or extra
// name does not compile.
template <typename... Types> void addColumns(ColumnName<Types>... names)
{
    (QTest::addColumn<Types>(names), ...);
}

// A data table of one column, a row for each named value.
template <typename Type>
void addRows(const char* column, std::initializer_list<std::pair<const char*, Type>> rows)
{
    QTest::addColumn<Type>(column);
    for (const auto& [name, value] : rows)
        QTest::newRow(name) << value;
}

} // namespace zelvo::test
