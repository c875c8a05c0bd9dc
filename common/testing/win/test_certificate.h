// The build's throw-away code-signing certificate, trusted in the test prefix.
#pragma once

namespace suite {

// Puts the certificate beside the test programs (suite_test_root.cer) into the machine's root store,
// so that programs signed with it pass the real signature check. True when it is there.
bool TrustTestCertificate();

}  // namespace suite
