// For binaries that test running out of memory: while refuseArrays is set, every request for an
// array made without exceptions (new (std::nothrow) T[n]) fails. Link this file's source into
// such a binary only, since it replaces the allocator.
#pragma once

extern bool refuseArrays;
