#pragma once
// The author's contact number and addresses, shown in the window and opened by its links.
// Plainly illustrative values. Macros, so that they join the window's text literals.
#define KV_CONTACT L"12345678"
#define KV_FORUM L"bbs.example.com"
#define KV_BLOG L"blog.example.com/tarnholm"
