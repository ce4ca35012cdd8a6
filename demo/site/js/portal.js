// Portal page: the rotating banner, the news tabs and the news article pop-ups.
// Client commands stay plain links in the page; nothing here navigates.
(function () {
  'use strict';

  // ---------------------------------------------------------------- banner
  var slides = document.querySelectorAll('#banner .slide');
  var dots = document.querySelectorAll('#banner-dots .dot');
  var current = 0;
  var timer = 0;

  function show(index) {
    if (!slides.length) return;
    current = (index + slides.length) % slides.length;
    for (var i = 0; i < slides.length; i++) {
      slides[i].classList.toggle('is-active', i === current);
      if (dots[i]) dots[i].classList.toggle('is-active', i === current);
    }
  }

  function restart() {
    if (timer) clearInterval(timer);
    timer = setInterval(function () { show(current + 1); }, 5000);
  }

  Array.prototype.forEach.call(dots, function (dot, i) {
    dot.addEventListener('click', function () { show(i); restart(); });
  });
  var banner = document.getElementById('banner');
  if (banner) {
    banner.addEventListener('mouseenter', function () { if (timer) clearInterval(timer); timer = 0; });
    banner.addEventListener('mouseleave', restart);
  }
  restart();

  // ---------------------------------------------------------------- news tabs
  var tabs = document.querySelectorAll('#news-tabs .tab');
  var items = document.querySelectorAll('#news-list li');
  var shownPerTab = 5;

  function filter(kind) {
    var shown = 0;
    Array.prototype.forEach.call(items, function (li) {
      var match = kind === 'all' || li.getAttribute('data-kind') === kind;
      var visible = match && shown < shownPerTab;
      if (visible) shown++;
      li.classList.toggle('is-hidden', !visible);
    });
  }

  Array.prototype.forEach.call(tabs, function (tab) {
    tab.addEventListener('click', function () {
      Array.prototype.forEach.call(tabs, function (t) { t.classList.toggle('is-active', t === tab); });
      filter(tab.getAttribute('data-kind'));
    });
  });
  filter('all');

  // ---------------------------------------------------------------- articles
  var open = null;
  var backdrop = document.getElementById('articles');

  function closeArticle() {
    if (open) open.classList.remove('is-open');
    if (backdrop) backdrop.classList.remove('has-open');
    open = null;
  }

  document.addEventListener('click', function (event) {
    var link = event.target.closest ? event.target.closest('a[data-news], a[data-close]') : null;
    if (!link) {
      // A click on the dimmed backdrop beside an open article closes it.
      if (open && event.target === backdrop) closeArticle();
      return;
    }
    // An article opened by the address (#n1) closes by the link's own "#".
    if (!open && link.hasAttribute('data-close')) return;
    event.preventDefault();
    closeArticle();
    var id = link.getAttribute('data-news');
    if (id) {
      open = document.getElementById(id);
      if (open) {
        open.classList.add('is-open');
        if (backdrop) backdrop.classList.add('has-open');
      }
    }
  });

  document.addEventListener('keydown', function (event) {
    if (event.key === 'Escape') closeArticle();
  });
})();
