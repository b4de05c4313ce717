#pragma once
// The upload job: the scale's PLU list, record by record from PLU 1, until the scale says its
// list has ended or an exchange fails.

#include "Job.h"
#include "Link.h"

namespace jobs {

Report RunUpload(scale::Link& link, Observer& observer);

}  // namespace jobs
