# Pool work per call once an instance is warm: what the interface allows an entry to allocate, and no more.
vx_add_suite(allocation_count_test performance/allocation_count_test.cpp)
