// A load that runs off the GUI thread under a progress window: the reading
// (which counts the bytes read and ends early once stopped), then, back on
// the GUI thread, what LoadAndSay says and puts on show after it.
#pragma once

#include "ListingDocument.h"
#include "WorkProgress.h"

namespace kovra {

// LoadListingDocument, counting the file's bytes in `progress`.  Once it is
// stopped nothing more is read: the document is then incomplete and must be
// dropped.
std::shared_ptr<TListingDocument> LoadListingDocument(const std::string& path, WorkProgress& progress);

// The second half of LoadAndSay: the messages of `document`'s load and the
// swap (`replace`) in their order.
void SayLoadOutcome(const std::shared_ptr<TListingDocument>& document, QWidget* owner,
                    const std::function<void(std::shared_ptr<TListingDocument>)>& replace);

} // namespace kovra
