// Opened from a file (file://), browsers refuse the page its modules and its
// reading workers, and it would do nothing at all: say so. A classic script,
// since a module would be refused too.
'use strict';
if (window.location.protocol === 'file:') {
  document.addEventListener('DOMContentLoaded', () => {
    const progress = document.getElementById('progress');
    progress.textContent = 'This page cannot read files when it is opened from a file on disk: browsers let its '
      + 'reader run only when the page comes from a web address. Open the page from its web address instead.';
    progress.classList.add('problem');
    for (const id of ['files', 'folder']) document.getElementById(id).disabled = true;
    document.documentElement.dataset.engine = 'failed';
  });
}
