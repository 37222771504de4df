// The runtime's own service table (the layout is published in runtime/abi/service_table.h).
// Contract: every slot is filled; the table lives as long as the process.
#pragma once

#include "runtime/abi/service_table.h"

namespace runtime {

const ServiceTable& service_table();

}  // namespace runtime
