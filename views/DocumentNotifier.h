#pragma once

#include "model/DocumentFeed.h"

#include <QObject>

#include <cstdint>
#include <functional>

// The UI-side end of a document's feed notification. The document worker calls OnDocData
// after each applied record; the handler (set by the frame: update every view of the
// document by the hint) runs on the thread this object lives on, and the worker waits for it.
//
// The thread this object lives on must keep serving its events whenever it waits for a
// worker (see WaitPumping). Clear the document's notifier before destroying this object.
class CDocumentNotifier : public QObject, public IDocumentNotifier
{
    Q_OBJECT

public:
    using Handler = std::function<void(CVantrelDoc&, int32_t hint)>;

    explicit CDocumentNotifier(QObject* parent = nullptr);

    // Set and called on this object's thread only.
    void SetHandler(Handler handler);

    void OnDocData(CVantrelDoc& doc, const CDocData& item) override;

private:
    void Deliver(CVantrelDoc& doc, int32_t hint);

    Handler m_handler;
};
