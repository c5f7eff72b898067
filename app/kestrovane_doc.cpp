#include "app/kestrovane_doc.h"

#include "link/link.h"

CKestrovaneDoc::CKestrovaneDoc(ksv::Link& link) : m_link(link) {}

CKestrovaneDoc::~CKestrovaneDoc() {
    OnCloseDocument();
}

bool CKestrovaneDoc::OnNewDocument() {
    if (m_open)
        return true;
    m_open = m_link.LinkInit() == ksv::kSuccess;
    return m_open;
}

void CKestrovaneDoc::OnCloseDocument() {
    if (!m_open)
        return;
    m_open = false;
    m_link.LinkTerm();
}
