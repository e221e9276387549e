#include "platform/data/DataSet.h"
#include "platform/data/DataSetHelpers.h"

namespace plat {

using namespace datasetdetail;

// --- Editing ----------------------------------------------------------------------------

void DataSet::checkBrowseMode()
{
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        if (modified_)
            post();
        else
            cancel();
    } else if (state_ == DataSetState::SetKey) {
        cancel();
    }
}

// Insert and append alike: the new record takes its place in the current order when
// it is posted.
void DataSet::beginInsert()
{
    checkActive();
    checkBrowseMode();
    checkCanModify();
    fire(BeforeInsert);
    fire(BeforeScroll);
    buffer_ = QVector<QVariant>(int(fields_.size()));
    lazy_ = false;
    oldBuffer_ = buffer_;
    state_ = DataSetState::Insert;
    modified_ = false;
    // A detail's new record belongs to the master's current record.
    if (master_ && master_->active()) {
        const QStringList masterNames = splitNames(masterFields_);
        for (int i = 0; i < masterNames.size() && i < currentIndexFields_.size(); ++i)
            buffer_[fieldByName(currentIndexFields_[i]).index()] = master_->fieldByName(masterNames[i]).value();
    }
    computeCalculated();
    notifyState();
    notifyRecord();
    try {
        fire(OnNewRecord);
    } catch (...) {
        backToBrowse();
        throw;
    }
    // A record holding only the defaults its handler gave it is not yet modified: left as it
    // came, it is dropped rather than posted.
    modified_ = false;
    fire(AfterInsert);
    fire(AfterScroll);
}

void DataSet::append()
{
    appending_ = true;
    beginInsert();
}

void DataSet::insert()
{
    appending_ = false;
    beginInsert();
}

void DataSet::edit()
{
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (!hasCurrent_) {
        insert();
        return;
    }
    checkBrowseMode();
    checkCanModify();
    fire(BeforeEdit);
    // Re-read the record, so that an edit starts from what is stored now.
    runWithErrorHandler(OnEditError, [this] {
        Row row;
        if (!cursorReread(cursorBookmark(currentRow_), row))
            fail(QStringLiteral("Record/Key Deleted"));
        loadRecord(row);
    });
    makeAllValues();
    oldBuffer_ = buffer_;
    modified_ = false;
    setState(DataSetState::Edit);
    notifyRecord();
    fire(AfterEdit);
}

bool DataSet::runWithErrorHandler(const ErrorEvent &handler, const std::function<void()> &work)
{
    for (;;) {
        try {
            work();
            return true;
        } catch (const gp::Abort &) {
            throw;
        } catch (const gp::Error &error) {
            if (!handler)
                throw;
            DataAction action = DataAction::Fail;
            handler(*this, error, action);
            if (action == DataAction::Retry)
                continue;
            if (action == DataAction::Abort)
                throw gp::Abort();
            throw;
        }
    }
}

void DataSet::checkRequired() const
{
    makeAllValues();
    for (const auto &f : fields_) {
        if (!f->required || f->isCalculated() || f->dataType() == ftAutoInc)
            continue;
        const QVariant v = buffer_.value(f->index());
        if (isNullValue(v) || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
            fail(DataSetMessages::mustHaveValue(f->fieldName()));
    }
}

void DataSet::internalPost()
{
    Bookmark written;
    // A handler may mend the record and retry: each attempt reads the buffer afresh.
    runWithErrorHandler(OnPostError, [&] {
        checkRequired();
        const Row row = bufferRow();
        if (state_ == DataSetState::Insert)
            written = cursorInsert(row);
        else
            written = cursorUpdate(cursorBookmark(currentRow_), currentRow_, row);
    });
    // Stay on the record, at its place in the current order.
    settleOn(written);
}

void DataSet::post()
{
    checkActive();
    if (state_ == DataSetState::SetKey) {
        cancel();
        return;
    }
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    fire(BeforePost);
    internalPost();
    modified_ = false;
    setState(DataSetState::Browse);
    notifyDataSet();
    notifyRecord();
    fire(AfterPost);
}

void DataSet::cancel()
{
    checkActive();
    if (state_ == DataSetState::SetKey) {
        keyBuffer_.clear();
        setState(stateBeforeKey_);
        return;
    }
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    fire(BeforeCancel);
    backToBrowse();
    fire(AfterCancel);
}

void DataSet::remove()
{
    checkActive();
    if (state_ == DataSetState::Insert || state_ == DataSetState::SetKey) {
        cancel();
        return;
    }
    if (!hasCurrent_)
        fail(QLatin1String(DataSetMessages::emptyDataSet));
    checkCanModify();
    fire(BeforeDelete);
    fire(BeforeScroll);
    if (state_ == DataSetState::Edit) {
        state_ = DataSetState::Browse;
        restoreCurrent();
    }
    makeAllValues();
    const Row doomed = currentRow_;
    const Bookmark at = cursorBookmark(doomed);
    // Where to stand afterwards: the next record, else the one before.
    Row neighbour;
    bool hasNeighbour = cursorNext(neighbour);
    if (!hasNeighbour) {
        Row back;
        if (cursorGoto(at, back))
            hasNeighbour = cursorPrior(neighbour);
    }
    const Bookmark neighbourMark = hasNeighbour ? cursorBookmark(neighbour) : Bookmark();
    try {
        runWithErrorHandler(OnDeleteError, [&] { cursorDelete(at, doomed); });
    } catch (...) {
        Row back;
        if (cursorGoto(at, back))
            loadRecord(back);
        throw;
    }
    settleOn(neighbourMark);
    modified_ = false;
    setState(DataSetState::Browse);
    notifyDataSet();
    notifyRecord();
    fire(AfterDelete);
    fire(AfterScroll);
}

void DataSet::refresh()
{
    checkActive();
    checkBrowseMode();
    fire(BeforeRefresh);
    const Bookmark at = bookmark();
    cursorRefresh();
    settleOn(at);
    notifyDataSet();
    notifyRecord();
    fire(AfterRefresh);
}

} // namespace plat
