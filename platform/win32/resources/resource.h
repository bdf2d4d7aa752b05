#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_PELVANTO 101
#define IDI_OVERLAY 102
#define IDI_UNDO 103
#define IDI_COPY_EXIT 104
#define IDI_EXIT 105
