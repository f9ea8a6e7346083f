// Filled in as web access grows.
