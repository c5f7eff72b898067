#pragma once

namespace ksv {
class Link;
}

// The document: holds no data; the link module lives exactly as long as it does (LinkInit when
// it is created, LinkTerm when it is closed). The Link object itself belongs to the
// application, which creates it before the document and destroys it after.
//
// Thread contract: GUI thread only.
class CKestrovaneDoc {
public:
    explicit CKestrovaneDoc(ksv::Link& link);
    ~CKestrovaneDoc(); // closes the document if it is still open
    CKestrovaneDoc(const CKestrovaneDoc&) = delete;
    CKestrovaneDoc& operator=(const CKestrovaneDoc&) = delete;

    // The new-document step: LinkInit. False when the link module could not start.
    bool OnNewDocument();
    // The close step: LinkTerm, which closes an open port. Runs once; later calls do nothing.
    void OnCloseDocument();

    bool IsOpen() const { return m_open; }

private:
    ksv::Link& m_link;
    bool m_open = false;
};
