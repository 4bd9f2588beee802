#pragma once
// The traditional PKWARE zip encryption, decrypting side. Entries begin with a 12-byte header
// whose last byte, once decrypted, checks the password.

#include <cstddef>
#include <cstdint>

constexpr std::size_t kZipCryptHeaderSize = 12;

class ZipDecrypter {
 public:
  explicit ZipDecrypter(const char* password);
  // Decrypts the bytes in place, in stream order.
  void Decrypt(unsigned char* bytes, std::size_t count);

 private:
  void UpdateKeys(unsigned char plain);
  std::uint32_t keys_[3];
};
