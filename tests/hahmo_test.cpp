// Filled in as the module gains tests.
