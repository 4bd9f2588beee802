// Keeps the library non-empty until its first part lands.
namespace {}
