// Filled in as the toolkit grows.
