#pragma once
#include "platform/data/DataSet.h"
#include "platform/data/engine/TableChanges.h"

#include <QHash>
#include <functional>
#include <map>
#include <optional>

namespace plat {

// What a table dataset's look-ups answered, kept until its table changes (the stamp of
// TableChanges moves: a write of the program, a refresh) or the dataset reads its rows anew
// (`clear`). A small table is read whole in one statement, only the columns the look-up
// compares and answers, and answered from memory from then on; a larger one keeps each
// key's answer. So the look-ups of a grid's drawn cells cost one statement per fill at
// most, and none while nothing changed.
class TableLookups
{
public:
    // A table of more rows keeps its answers one by one.
    static constexpr int kWholeRows = 1000;
    // Answers kept one by one per question at most; past it they start again.
    static constexpr int kKeptAnswers = 10000;

    struct Question
    {
        QVector<int> keyColumns;
        QVector<int> resultColumns;
        // Whether the engine's "=" on text holds only for the same characters: otherwise a
        // text key is asked of the engine, once.
        bool exactText = true;
    };
    // The rows with these columns in the dataset's order, when there are at most `limit`.
    using ReadAll = std::function<std::optional<QVector<Row>>(const QVector<int> &columns, int limit)>;
    // The first row whose key columns hold the values, asked of the engine.
    using ReadOne = std::function<std::optional<Row>()>;

    std::optional<Row> find(TableChanges::Stamp stamp, const Question &question, const QVariantList &values,
                            const ReadAll &readAll, const ReadOne &readOne);
    // Every row the dataset shows, just read by it with all its columns at `stamp`: look-ups
    // at that stamp are answered from them instead of reading the table again.
    void holdWhole(TableChanges::Stamp stamp, const QVector<Row> &rows);
    void clear();

private:
    struct Answers
    {
        enum class Whole { Unread, Held, TooLarge };
        Whole whole = Whole::Unread;
        QHash<QString, Row> rows;                       // the first row of each key (Held)
        QHash<QString, std::optional<Row>> answered;    // each key asked of the engine
    };

    TableChanges::Stamp stamp_ = 0;
    std::map<QString, Answers> questions_;   // by the columns compared and answered
    std::optional<QVector<Row>> whole_;      // holdWhole's rows, while the stamp holds
};

} // namespace plat
