#include "views/DocumentNotifier.h"

#include <QThread>

CDocumentNotifier::CDocumentNotifier(QObject* parent)
    : QObject(parent)
{
}

void CDocumentNotifier::SetHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void CDocumentNotifier::OnDocData(CVantrelDoc& doc, const CDocData& item)
{
    const int32_t hint = item.m_type;
    if (QThread::currentThread() == thread()) {
        Deliver(doc, hint);
        return;
    }
    // The worker blocks until the views have drawn this record: its next UpdateFromRecord
    // would otherwise write the plots and bars while the UI thread draws from them, and the
    // views would show a later state than the hint they were given.
    QMetaObject::invokeMethod(this, [this, &doc, hint] { Deliver(doc, hint); }, Qt::BlockingQueuedConnection);
}

void CDocumentNotifier::Deliver(CVantrelDoc& doc, int32_t hint)
{
    if (m_handler)
        m_handler(doc, hint);
}
